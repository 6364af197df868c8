#include "platform/resolver/linux/ResolvedBus.h"

#include <arpa/inet.h>
#include <dbus/dbus.h>

#include <cerrno>
#include <cstring>

#include "platform/dbus/linux/SystemBus.h"

namespace platform_linux {

namespace {

constexpr const char* kResolved = "org.freedesktop.resolve1";
constexpr const char* kManagerPath = "/org/freedesktop/resolve1";
constexpr const char* kManager = "org.freedesktop.resolve1.Manager";
// A resolver that does not answer within this time counts as failed rather than freezing the switch.
constexpr int kReplyTimeoutMs = 1000;

int ErrnoOf(const DBusError& error) {
    if (dbus_error_has_name(&error, DBUS_ERROR_ACCESS_DENIED) ||
        dbus_error_has_name(&error, "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired")) {
        return EACCES;
    }
    if (dbus_error_has_name(&error, "org.freedesktop.resolve1.NoSuchLink"))
        return ENODEV;
    if (dbus_error_has_name(&error, DBUS_ERROR_INVALID_ARGS))
        return EINVAL;
    return EIO;
}

DbusMessage Call(DBusConnection* connection, DBusMessage* call, int& error) {
    DbusError failure;
    DbusMessage reply(
        dbus_connection_send_with_reply_and_block(connection, call, kReplyTimeoutMs, &failure.error));
    error = reply ? 0 : ErrnoOf(failure.error);
    return reply;
}

bool ReadInt32(DBusMessageIter& field, dbus_int32_t& value) {
    if (dbus_message_iter_get_arg_type(&field) != DBUS_TYPE_INT32)
        return false;
    dbus_message_iter_get_basic(&field, &value);
    dbus_message_iter_next(&field);
    return true;
}

// One (ifindex, family, address bytes) entry of an a(iiay) array, if it is an IPv4 server.
bool ReadServer(DBusMessageIter& entry, int& ifIndex, std::string& dotted) {
    DBusMessageIter field;
    dbus_message_iter_recurse(&entry, &field);
    dbus_int32_t index = 0;
    dbus_int32_t family = 0;
    if (!ReadInt32(field, index) || !ReadInt32(field, family) || family != AF_INET ||
        dbus_message_iter_get_arg_type(&field) != DBUS_TYPE_ARRAY) {
        return false;
    }
    ifIndex = index;
    DBusMessageIter bytes;
    dbus_message_iter_recurse(&field, &bytes);
    const unsigned char* data = nullptr;
    int length = 0;
    dbus_message_iter_get_fixed_array(&bytes, &data, &length);
    char text[INET_ADDRSTRLEN] = {};
    if (length != 4 || ::inet_ntop(AF_INET, data, text, sizeof text) == nullptr)
        return false;
    dotted = text;
    return true;
}

bool AppendServer(DBusMessageIter& array, const std::string& server) {
    in_addr address{};
    if (::inet_pton(AF_INET, server.c_str(), &address) != 1)
        return false;
    DBusMessageIter entry;
    DBusMessageIter bytes;
    const dbus_int32_t family = AF_INET;
    const auto* data = reinterpret_cast<const unsigned char*>(&address.s_addr);
    return dbus_message_iter_open_container(&array, DBUS_TYPE_STRUCT, nullptr, &entry) &&
           dbus_message_iter_append_basic(&entry, DBUS_TYPE_INT32, &family) &&
           dbus_message_iter_open_container(&entry, DBUS_TYPE_ARRAY, "y", &bytes) &&
           dbus_message_iter_append_fixed_array(&bytes, DBUS_TYPE_BYTE, &data, 4) &&
           dbus_message_iter_close_container(&entry, &bytes) &&
           dbus_message_iter_close_container(&array, &entry);
}

}  // namespace

std::unique_ptr<ResolvedBus> ResolvedBus::ServingThisNamespace() {
    DBusConnection* connection = OpenServingThisNamespace(kResolved);
    return connection != nullptr ? std::unique_ptr<ResolvedBus>(new ResolvedBus(connection)) : nullptr;
}

ResolvedBus::~ResolvedBus() {
    CloseSystemBus(connection_);
}

// The manager's DNS property lists every server it knows as (ifindex, family, address); 0 is global.
int ResolvedBus::LinkDns(int ifIndex, std::vector<std::string>& servers) {
    servers.clear();
    DbusMessage call(dbus_message_new_method_call(kResolved, kManagerPath, DBUS_INTERFACE_PROPERTIES, "Get"));
    const char* interface = kManager;
    const char* property = "DNS";
    if (!call || !dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING,
                                           &property, DBUS_TYPE_INVALID)) {
        return ENOMEM;
    }
    int error = 0;
    const DbusMessage reply = Call(connection_, call.get(), error);
    if (!reply)
        return error;
    DBusMessageIter variant;
    DBusMessageIter array;
    DBusMessageIter entry;
    if (!dbus_message_iter_init(reply.get(), &variant) ||
        dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_VARIANT) {
        return EIO;
    }
    dbus_message_iter_recurse(&variant, &array);
    if (dbus_message_iter_get_arg_type(&array) != DBUS_TYPE_ARRAY)
        return EIO;
    for (dbus_message_iter_recurse(&array, &entry);
         dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_STRUCT; dbus_message_iter_next(&entry)) {
        int serverIfIndex = 0;
        std::string dotted;
        if (ReadServer(entry, serverIfIndex, dotted) && serverIfIndex == ifIndex)
            servers.push_back(dotted);
    }
    return 0;
}

int ResolvedBus::SetLinkDns(int ifIndex, const std::vector<std::string>& servers) {
    DbusMessage call(dbus_message_new_method_call(kResolved, kManagerPath, kManager, "SetLinkDNS"));
    if (!call)
        return ENOMEM;
    DBusMessageIter arguments;
    DBusMessageIter array;
    const dbus_int32_t index = ifIndex;
    dbus_message_iter_init_append(call.get(), &arguments);
    if (!dbus_message_iter_append_basic(&arguments, DBUS_TYPE_INT32, &index) ||
        !dbus_message_iter_open_container(&arguments, DBUS_TYPE_ARRAY, "(iay)", &array)) {
        return ENOMEM;
    }
    for (const std::string& server : servers) {
        if (!AppendServer(array, server)) {
            dbus_message_iter_abandon_container(&arguments, &array);
            return EINVAL;
        }
    }
    if (!dbus_message_iter_close_container(&arguments, &array))
        return ENOMEM;
    int error = 0;
    Call(connection_, call.get(), error);
    return error;
}

}  // namespace platform_linux
