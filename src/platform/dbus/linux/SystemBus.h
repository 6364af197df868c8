#pragma once
// A private connection to the D-Bus system bus (DBUS_SYSTEM_BUS_ADDRESS, else the standard socket) for
// talking to one daemon that serves this network namespace. The bus is a file, reachable from every
// network namespace that shares the file system: a program started with "ip netns exec" would find the
// host's daemons there, and interface indexes and names of two namespaces can coincide. So a daemon is
// used only when it runs in the caller's own network namespace.

#include <dbus/dbus.h>

#include <memory>

namespace platform_linux {

struct DbusMessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using DbusMessage = std::unique_ptr<DBusMessage, DbusMessageUnref>;

struct DbusError {
    DbusError() { dbus_error_init(&error); }
    ~DbusError() { dbus_error_free(&error); }
    DbusError(const DbusError&) = delete;
    DbusError& operator=(const DbusError&) = delete;
    DBusError error;
};

// Null when there is no bus, no owner of the service name on it, or the owner runs in another network
// namespace than the calling thread.
DBusConnection* OpenServingThisNamespace(const char* service);
void CloseSystemBus(DBusConnection* connection);

}  // namespace platform_linux
