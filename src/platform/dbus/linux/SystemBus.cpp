#include "platform/dbus/linux/SystemBus.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform_linux {

namespace {

// The bus daemon answers at once; a bus that does not counts as none rather than freezing the switch.
constexpr int kReplyTimeoutMs = 1000;

std::string SystemBusAddress() {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    return address != nullptr && *address != '\0' ? address : "unix:path=/run/dbus/system_bus_socket";
}

// A bus at a socket path that is not there is none: saying so takes one stat, where libdbus would spend
// more than that setting up the connection that then fails, at every switch and every adapter read.
// Other addresses (escaped, abstract, several, tcp) are left to libdbus.
bool PlainlyAbsent(const std::string& address) {
    const std::string prefix = "unix:path=";
    if (address.rfind(prefix, 0) != 0 || address.find_first_of(",;%", prefix.size()) != std::string::npos)
        return false;
    struct stat status {};
    return ::stat(address.c_str() + prefix.size(), &status) != 0 && errno == ENOENT;
}

bool SameNetworkNamespace(dbus_uint32_t pid) {
    struct stat theirs {};
    struct stat ours {};
    const std::string theirPath = "/proc/" + std::to_string(pid) + "/ns/net";
    // The calling thread's namespace: a thread may have entered another one than the process's.
    return ::stat(theirPath.c_str(), &theirs) == 0 && ::stat("/proc/thread-self/ns/net", &ours) == 0 &&
           theirs.st_dev == ours.st_dev && theirs.st_ino == ours.st_ino;
}

bool OwnerIsOurs(DBusConnection* connection, const char* service) {
    const DbusMessage call(dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS,
                                                        DBUS_INTERFACE_DBUS, "GetConnectionUnixProcessID"));
    if (!call || !dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &service, DBUS_TYPE_INVALID))
        return false;
    DbusError failure;
    const DbusMessage reply(
        dbus_connection_send_with_reply_and_block(connection, call.get(), kReplyTimeoutMs, &failure.error));
    dbus_uint32_t pid = 0;
    return reply &&
           dbus_message_get_args(reply.get(), &failure.error, DBUS_TYPE_UINT32, &pid, DBUS_TYPE_INVALID) &&
           SameNetworkNamespace(pid);
}

}  // namespace

DBusConnection* OpenServingThisNamespace(const char* service) {
    const std::string address = SystemBusAddress();
    if (PlainlyAbsent(address))
        return nullptr;
    DbusError failure;
    DBusConnection* connection = dbus_connection_open_private(address.c_str(), &failure.error);
    if (connection == nullptr)
        return nullptr;
    dbus_connection_set_exit_on_disconnect(connection, FALSE);
    if (!dbus_bus_register(connection, &failure.error) || !OwnerIsOurs(connection, service)) {
        CloseSystemBus(connection);
        return nullptr;
    }
    return connection;
}

void CloseSystemBus(DBusConnection* connection) {
    dbus_connection_close(connection);
    dbus_connection_unref(connection);
}

}  // namespace platform_linux
