#include "platform/networkmanager/linux/NmLink.h"

#include <arpa/inet.h>
#include <ctime>

#include <algorithm>
#include <vector>

#include "platform/netlink/linux/Netlink.h"

namespace networkmanager {

namespace {

constexpr const char* kManagerPath = "/org/freedesktop/NetworkManager";
constexpr const char* kManager = "org.freedesktop.NetworkManager";
constexpr const char* kSettingsPath = "/org/freedesktop/NetworkManager/Settings";
constexpr const char* kSettings = "org.freedesktop.NetworkManager.Settings";
constexpr const char* kConnection = "org.freedesktop.NetworkManager.Settings.Connection";
constexpr const char* kDevice = "org.freedesktop.NetworkManager.Device";
constexpr const char* kActiveConnection = "org.freedesktop.NetworkManager.Connection.Active";
constexpr std::uint32_t kDeviceActivated = 100;  // NM_DEVICE_STATE_ACTIVATED
constexpr std::uint32_t kActivationDone = 2;     // NM_ACTIVE_CONNECTION_STATE_ACTIVATED
constexpr std::uint32_t kUpdateToDisk = 1;       // NM_SETTINGS_UPDATE2_FLAG_TO_DISK
// Reapply takes effect in tens of milliseconds, a re-activation of a wired link in a few seconds.
constexpr long long kReapplyPatienceMs = 3000;
constexpr long long kActivationPatienceMs = 15000;

long long NowMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

void Sleep10Ms() {
    const timespec pause{0, 10'000'000};
    ::nanosleep(&pause, nullptr);
}

// The object path a reply holds as its first argument.
std::string PathOf(DBusMessage* reply) {
    const char* path = nullptr;
    if (reply == nullptr ||
        !dbus_message_get_args(reply, nullptr, DBUS_TYPE_OBJECT_PATH, &path, DBUS_TYPE_INVALID))
        return "";
    return path;
}

bool IsPermissionError(const std::string& name) {
    return name == DBUS_ERROR_ACCESS_DENIED ||
           name == "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired" ||
           name.ends_with(".PermissionDenied") || name.ends_with(".NotAllowed");
}

}  // namespace

std::unique_ptr<NmLink> NmLink::Find(const std::string& interfaceName) {
    std::unique_ptr<NmBus> bus = NmBus::ServingThisNamespace();
    if (!bus)
        return nullptr;
    std::unique_ptr<NmLink> link(new NmLink(std::move(bus), interfaceName));
    return link->Resolve() ? std::move(link) : nullptr;
}

// The device of the interface, activated, and the settings connection it has applied.
bool NmLink::Resolve() {
    const Message byInterface = NmBus::NewCall(kManagerPath, kManager, "GetDeviceByIpIface");
    const char* name = interfaceName_.c_str();
    if (!byInterface ||
        !dbus_message_append_args(byInterface.get(), DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID))
        return false;
    devicePath_ = PathOf(bus_->Call(byInterface.get(), lastError_).get());
    std::uint32_t state = 0;
    if (devicePath_.empty() || !bus_->GetUint32(devicePath_, kDevice, "State", state) ||
        state != kDeviceActivated)
        return false;

    const Message applied = NmBus::NewCall(devicePath_, kDevice, "GetAppliedConnection");
    const dbus_uint32_t flags = 0;
    if (!applied || !dbus_message_append_args(applied.get(), DBUS_TYPE_UINT32, &flags, DBUS_TYPE_INVALID))
        return false;
    const Message settings = bus_->Call(applied.get(), lastError_);
    DBusMessageIter reply;
    if (!settings || !dbus_message_iter_init(settings.get(), &reply))
        return false;
    const std::optional<std::string> uuid = FindString(reply, "connection", "uuid");
    connectionId_ = FindString(reply, "connection", "id").value_or("");
    dbus_message_iter_next(&reply);
    if (!uuid || dbus_message_iter_get_arg_type(&reply) != DBUS_TYPE_UINT64)
        return false;
    dbus_uint64_t version = 0;
    dbus_message_iter_get_basic(&reply, &version);
    versionId_ = version;

    const Message byUuid = NmBus::NewCall(kSettingsPath, kSettings, "GetConnectionByUuid");
    const char* uuidText = uuid->c_str();
    if (!byUuid || !dbus_message_append_args(byUuid.get(), DBUS_TYPE_STRING, &uuidText, DBUS_TYPE_INVALID))
        return false;
    connectionPath_ = PathOf(bus_->Call(byUuid.get(), lastError_).get());
    return !connectionPath_.empty();
}

Message NmLink::Call(DBusMessage* call, const std::string& method, const CallFault& fault) {
    lastError_ = {};
    if (fault) {
        lastError_.name = fault(method);
        if (lastError_.Failed()) {
            lastError_.text = "refused by the test";
            return nullptr;
        }
    }
    return bus_->Call(call, lastError_);
}

// Settings.Connection.Update2(settings, flags, args): the connection's settings, rewritten for the
// change (or as they were, without one), written to disk.
bool NmLink::Update(DBusMessage* settings, const Ipv4Switch* change, const CallFault& fault) {
    const Message call = NmBus::NewCall(connectionPath_, kConnection, "Update2");
    DBusMessageIter from;
    DBusMessageIter out;
    DBusMessageIter args;
    const dbus_uint32_t flags = kUpdateToDisk;
    if (!call || !dbus_message_iter_init(settings, &from))
        return false;
    dbus_message_iter_init_append(call.get(), &out);
    if (!WriteSettings(from, out, change) ||
        !dbus_message_iter_append_basic(&out, DBUS_TYPE_UINT32, &flags) ||
        !dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "{sv}", &args) ||
        !dbus_message_iter_close_container(&out, &args))
        return false;
    return Call(call.get(), "Update2", fault) != nullptr;
}

// Device.Reapply(connection, version_id, flags) with no connection: the device takes its settings
// connection as it now is, without going down. A version id other than 0 makes NetworkManager refuse
// when the applied connection changed since it was read.
bool NmLink::Reapply(std::uint64_t versionId, const CallFault& fault) {
    const Message call = NmBus::NewCall(devicePath_, kDevice, "Reapply");
    DBusMessageIter out;
    DBusMessageIter settings;
    const dbus_uint64_t version = versionId;
    const dbus_uint32_t flags = 0;
    if (!call)
        return false;
    dbus_message_iter_init_append(call.get(), &out);
    if (!dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "{sa{sv}}", &settings) ||
        !dbus_message_iter_close_container(&out, &settings) ||
        !dbus_message_iter_append_basic(&out, DBUS_TYPE_UINT64, &version) ||
        !dbus_message_iter_append_basic(&out, DBUS_TYPE_UINT32, &flags))
        return false;
    return Call(call.get(), "Reapply", fault) != nullptr;
}

// Only where NetworkManager will not reapply: activating the connection again takes the link down and
// up. The device still reads activated for a moment after the call, so it is the new activation that is
// waited for.
bool NmLink::Reactivate(const CallFault& fault) {
    const Message call = NmBus::NewCall(kManagerPath, kManager, "ActivateConnection");
    const char* connection = connectionPath_.c_str();
    const char* device = devicePath_.c_str();
    const char* noObject = "/";
    if (!call ||
        !dbus_message_append_args(call.get(), DBUS_TYPE_OBJECT_PATH, &connection, DBUS_TYPE_OBJECT_PATH,
                                  &device, DBUS_TYPE_OBJECT_PATH, &noObject, DBUS_TYPE_INVALID))
        return false;
    const std::string activation = PathOf(Call(call.get(), "ActivateConnection", fault).get());
    if (activation.empty())
        return false;
    for (const long long deadline = NowMs() + kActivationPatienceMs; NowMs() < deadline; Sleep10Ms()) {
        std::uint32_t state = 0;
        if (bus_->GetUint32(activation, kActiveConnection, "State", state) && state == kActivationDone)
            return true;
    }
    lastError_ = {"org.freedesktop.NetworkManager.Device.ActivationTimedOut",
                  "the link was not activated again"};
    return false;
}

// NetworkManager answers the reapply before it has written everything to the kernel; the program reads
// the kernel's state right after the switch, so the switch ends once the kernel holds the address.
bool NmLink::KernelHolds(const NmAddress& wanted) const {
    in_addr address{};
    if (::inet_pton(AF_INET, wanted.address.c_str(), &address) != 1)
        return false;
    const platform_linux::netlink::Ipv4Address expected{address.s_addr,
                                                        static_cast<std::uint8_t>(wanted.prefix)};
    platform_linux::netlink::Socket socket;
    if (socket.Open() != 0)
        return false;
    const int ifIndex = socket.InterfaceIndex(interfaceName_);
    for (const long long deadline = NowMs() + kReapplyPatienceMs; ifIndex > 0 && NowMs() < deadline;
         Sleep10Ms()) {
        std::vector<platform_linux::netlink::Ipv4Address> addresses;
        if (platform_linux::netlink::ReadAddresses(socket, ifIndex, addresses) == 0 &&
            std::find(addresses.begin(), addresses.end(), expected) != addresses.end())
            return true;
    }
    return false;
}

// Best effort, keeping the error that made the switch fail: the settings as they were go back to
// disk, and to the device when the change had reached it.
void NmLink::Restore(DBusMessage* previous, bool reapplied) {
    const BusError failure = lastError_;
    if (Update(previous, nullptr, {}) && reapplied)
        Reapply(0, {});
    lastError_ = failure;
}

NmResult NmLink::Failure() const {
    return IsPermissionError(lastError_.name) ? NmResult::kAccessDenied : NmResult::kRefused;
}

NmResult NmLink::Switch(const Ipv4Switch& change, const CallFault& fault) {
    const Message getSettings = NmBus::NewCall(connectionPath_, kConnection, "GetSettings");
    const Message previous = getSettings ? Call(getSettings.get(), "GetSettings", fault) : nullptr;
    if (!previous || !Update(previous.get(), &change, fault))
        return Failure();
    bool applied = Reapply(versionId_, fault);
    const bool reactivate =
        !applied && lastError_.name == "org.freedesktop.NetworkManager.Device.IncompatibleConnection";
    if (reactivate)
        applied = Reactivate(fault);
    if (!applied) {
        Restore(previous.get(), reactivate);
        return Failure();
    }
    if (!KernelHolds(change.wanted)) {
        lastError_ = {"org.freedesktop.NetworkManager.Device.NotInEffect",
                      "the kernel does not hold the address"};
        Restore(previous.get(), true);
        return NmResult::kNotInEffect;
    }
    return NmResult::kSwitched;
}

}  // namespace networkmanager
