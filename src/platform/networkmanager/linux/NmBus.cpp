#include "platform/networkmanager/linux/NmBus.h"

#include <sys/stat.h>

#include <cstdlib>

namespace networkmanager {

namespace {

struct Error {
    Error() { dbus_error_init(&error); }
    ~Error() { dbus_error_free(&error); }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    DBusError error;
};

void CloseConnection(DBusConnection* connection) {
    dbus_connection_close(connection);
    dbus_connection_unref(connection);
}

std::string SystemBusAddress() {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    return address != nullptr && *address != '\0' ? address : "unix:path=/run/dbus/system_bus_socket";
}

bool SameNetworkNamespace(dbus_uint32_t pid) {
    struct stat theirs {};
    struct stat ours {};
    const std::string theirPath = "/proc/" + std::to_string(pid) + "/ns/net";
    // The calling thread's namespace: a thread may have entered another one than the process's.
    return ::stat(theirPath.c_str(), &theirs) == 0 && ::stat("/proc/thread-self/ns/net", &ours) == 0 &&
           theirs.st_dev == ours.st_dev && theirs.st_ino == ours.st_ino;
}

bool DaemonIsOurs(DBusConnection* connection) {
    const Message call(dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS,
                                                    "GetConnectionUnixProcessID"));
    const char* name = NmBus::kService;
    if (!call || !dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID))
        return false;
    Error failure;
    const Message reply(
        dbus_connection_send_with_reply_and_block(connection, call.get(), 1000, &failure.error));
    dbus_uint32_t pid = 0;
    return reply &&
           dbus_message_get_args(reply.get(), &failure.error, DBUS_TYPE_UINT32, &pid, DBUS_TYPE_INVALID) &&
           SameNetworkNamespace(pid);
}

}  // namespace

std::unique_ptr<NmBus> NmBus::ServingThisNamespace() {
    Error failure;
    DBusConnection* connection = dbus_connection_open_private(SystemBusAddress().c_str(), &failure.error);
    if (connection == nullptr)
        return nullptr;
    dbus_connection_set_exit_on_disconnect(connection, FALSE);
    if (!dbus_bus_register(connection, &failure.error) || !DaemonIsOurs(connection)) {
        CloseConnection(connection);
        return nullptr;
    }
    return std::unique_ptr<NmBus>(new NmBus(connection));
}

NmBus::~NmBus() {
    CloseConnection(connection_);
}

Message NmBus::NewCall(const std::string& path, const char* interface, const char* method) {
    return Message(dbus_message_new_method_call(kService, path.c_str(), interface, method));
}

Message NmBus::Call(DBusMessage* call, BusError& error, int timeoutMs) {
    Error failure;
    Message reply(dbus_connection_send_with_reply_and_block(connection_, call, timeoutMs, &failure.error));
    if (!reply) {
        error.name = failure.error.name != nullptr ? failure.error.name : DBUS_ERROR_FAILED;
        error.text = failure.error.message != nullptr ? failure.error.message : "";
    }
    return reply;
}

bool NmBus::GetUint32(const std::string& path, const char* interface, const char* property,
                      std::uint32_t& value) {
    const Message call = NewCall(path, DBUS_INTERFACE_PROPERTIES, "Get");
    if (!call || !dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING,
                                           &property, DBUS_TYPE_INVALID))
        return false;
    BusError error;
    const Message reply = Call(call.get(), error);
    DBusMessageIter variant;
    DBusMessageIter inner;
    if (!reply || !dbus_message_iter_init(reply.get(), &variant) ||
        dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_VARIANT)
        return false;
    dbus_message_iter_recurse(&variant, &inner);
    if (dbus_message_iter_get_arg_type(&inner) != DBUS_TYPE_UINT32)
        return false;
    dbus_uint32_t number = 0;
    dbus_message_iter_get_basic(&inner, &number);
    value = number;
    return true;
}

}  // namespace networkmanager
