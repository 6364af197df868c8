#include "platform/networkmanager/linux/NmBus.h"

#include "platform/dbus/linux/SystemBus.h"

namespace networkmanager {

std::unique_ptr<NmBus> NmBus::ServingThisNamespace() {
    DBusConnection* connection = platform_linux::OpenServingThisNamespace(kService);
    return connection != nullptr ? std::unique_ptr<NmBus>(new NmBus(connection)) : nullptr;
}

NmBus::~NmBus() {
    platform_linux::CloseSystemBus(connection_);
}

Message NmBus::NewCall(const std::string& path, const char* interface, const char* method) {
    return Message(dbus_message_new_method_call(kService, path.c_str(), interface, method));
}

Message NmBus::Call(DBusMessage* call, BusError& error, int timeoutMs) {
    platform_linux::DbusError failure;
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
