#include "platform/registry/linux/AdapterClassProvider.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "platform/registry/KeyPath.h"
#include "platform/registry/RegistrySchema.h"
#include "platform/text/Gbk.h"

namespace platform_linux {

using winreg::KeyNamesEqual;
using winreg::RegistryValue;
using winreg::SplitKeyPath;

namespace fs = std::filesystem;

namespace {

// ARPHRD_* link types from the kernel's if_arp.h.
constexpr int kArphrdEther = 1;
constexpr int kArphrdLoopback = 772;
// The virtual Ethernet kinds whose links carry an address a user sets: containers' NICs, and the bridges
// and bonds that carry the host's address once its NICs are their ports. The others (ifb, tun's taps,
// dummy, ...) carry none a user would set.
constexpr std::string_view kAddressedKinds[] = {"veth", "macvlan", "bridge", "bond"};
constexpr std::size_t kSubKeyDigits = 4;
// A value longer than the program's 256-byte buffers would count as missing and hide the adapter.
constexpr std::size_t kMaxDescriptionBytes = 255;

std::string SubKeyName(std::size_t index) {
    char name[24];  // room for any size_t
    std::snprintf(name, sizeof name, "%04zu", index);
    return name;
}

// "0003" -> 3; anything that is not a subkey this view made -> nullopt.
std::optional<std::size_t> SubKeyIndex(std::string_view name) {
    if (name.size() != kSubKeyDigits ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(std::stoul(std::string(name)));
}

// The whole file; "" when it cannot be read. Most links have no udev file, and a stream costs more to
// set up than the failed open.
std::string FileText(const std::string& path) {
    std::string text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return text;
}

// Cuts GBK text to at most max bytes without splitting a two-byte character.
std::string CutGbk(const std::string& text, std::size_t max) {
    std::size_t end = 0;
    while (end < text.size()) {
        const auto byte = static_cast<unsigned char>(text[end]);
        const std::size_t width = byte >= 0x81 && byte <= 0xFE && end + 1 < text.size() ? 2 : 1;
        if (end + width > max)
            break;
        end += width;
    }
    return text.substr(0, end);
}

RegistryValue StringValue(const std::string& text) {
    RegistryValue value{win::REG_SZ, {text.begin(), text.end()}};
    value.data.push_back(0);
    return value;
}

class KernelLinkSource : public LinkSource {
  public:
    // One socket for the registry's lifetime, answering for the namespace the process is in now, as the
    // TCP/IP interface keys do.
    KernelLinkSource() : socketOpen_(socket_.Open() == 0) {}

    std::vector<netlink::Link> Links() override {
        std::vector<netlink::Link> links;
        if (!socketOpen_ || netlink::ReadLinks(socket_, links) != 0)
            return {};
        return links;
    }

    int IndexOf(const std::string& name) override { return socketOpen_ ? socket_.InterfaceIndex(name) : 0; }

  private:
    netlink::Socket socket_;
    bool socketOpen_;
};

}  // namespace

std::unique_ptr<LinkSource> MakeKernelLinkSource() {
    return std::make_unique<KernelLinkSource>();
}

AdapterClassProvider::AdapterClassProvider(std::unique_ptr<LinkSource> links, const std::string& sysfsRoot,
                                           std::string udevRoot)
    : links_(std::move(links)), netDir_(sysfsRoot + "/class/net"), udevRoot_(std::move(udevRoot)) {}

std::string AdapterClassProvider::LowerRangeOf(const netlink::Link& link) const {
    if (link.type == kArphrdLoopback)
        return "loopback";
    if (link.type != kArphrdEther)
        return "tunnel";
    const bool addressedKind = std::find(std::begin(kAddressedKinds), std::end(kAddressedKinds), link.kind) !=
                               std::end(kAddressedKinds);
    const fs::path dir = fs::path(netDir_) / link.name;
    std::error_code error;
    // Only a wireless driver's link has these; the kinds above never do, which spares a machine with many
    // containers two sysfs lookups per link.
    if (!addressedKind && (fs::exists(dir / "wireless", error) || fs::exists(dir / "phy80211", error)))
        return "wlan";
    // A port's own address is not used: the bridge or bond it belongs to carries its traffic.
    if (link.master != 0)
        return "nolower";
    // A physical NIC has no link kind but a device behind it.
    const bool addressed = link.kind.empty() ? fs::exists(dir / "device", error) : addressedKind;
    return addressed ? "ethernet" : "nolower";
}

std::string AdapterClassProvider::ModelNameOf(const netlink::Link& interface) const {
    // udev's database line "E:ID_MODEL_FROM_DATABASE=82574L Gigabit Network Connection"; the database
    // name beats the device's own ID_MODEL.
    const std::string udev = FileText(udevRoot_ + "/data/n" + std::to_string(interface.ifIndex));
    std::string fromDatabase;
    std::string model;
    for (std::size_t start = 0; start < udev.size();) {
        const std::size_t end = std::min(udev.find('\n', start), udev.size());
        const std::string_view line(udev.data() + start, end - start);
        if (line.starts_with("E:ID_MODEL_FROM_DATABASE="))
            fromDatabase = line.substr(25);
        if (line.starts_with("E:ID_MODEL="))
            model = line.substr(11);
        start = end + 1;
    }
    std::string description = !fromDatabase.empty() ? fromDatabase : model;
    // A link with a kind is made by software (veth, bridge, ...): no device, so no driver, is behind it.
    if (description.empty() && interface.kind.empty()) {
        std::error_code error;
        const fs::path driver =
            fs::read_symlink(fs::path(netDir_) / interface.name / "device" / "driver", error);
        if (!error)
            description = driver.filename().string();
    }
    if (description.empty())
        description = interface.name;
    return CutGbk(text::Utf8ToGbk(description), kMaxDescriptionBytes);
}

// A profile names its adapter by this description, so two adapters of one model must not share it.
// As Windows names such twins, the second and later ones in interface order get " #2", " #3", ...
// Only the adapters the program offers are counted: the first of them keeps the plain model name that
// profiles saved before already hold.
void AdapterClassProvider::DescribeListed() {
    std::map<std::string, int> sameModel;
    for (Listing& entry : listed_) {
        entry.lowerRange = LowerRangeOf(entry.link);
        entry.description = ModelNameOf(entry.link);
        if (entry.lowerRange != winreg::kEthernetLowerRange)
            continue;
        const int count = ++sameModel[entry.description];
        if (count == 1)
            continue;
        const std::string number = " #" + std::to_string(count);
        entry.description = CutGbk(entry.description, kMaxDescriptionBytes - number.size()) + number;
    }
}

// Each link's facts are read once per listing: a walk asks for every adapter's values, and reading them
// per question would read every earlier adapter's files again for its twins' numbers.
const std::vector<AdapterClassProvider::Listing>& AdapterClassProvider::Listed(bool refresh) {
    if (refresh || !haveListed_) {
        listed_.clear();
        for (netlink::Link& link : links_->Links())
            listed_.push_back(Listing{std::move(link), {}, {}});
        std::sort(listed_.begin(), listed_.end(),
                  [](const Listing& a, const Listing& b) { return a.link.ifIndex < b.link.ifIndex; });
        DescribeListed();
        haveListed_ = true;
    }
    return listed_;
}

// An interface removed since the listing names no key any more: opening its key asks the kernel. The
// values of a key opened are what the listing read.
const AdapterClassProvider::Listing* AdapterClassProvider::InterfaceAt(std::string_view subKey,
                                                                       bool askKernel) {
    const auto index = SubKeyIndex(subKey);
    if (!index)
        return nullptr;
    if (*index >= Listed(false).size())
        Listed(true);
    if (*index >= listed_.size())
        return nullptr;
    const Listing& interface = listed_[*index];
    if (askKernel && links_->IndexOf(interface.link.name) != interface.link.ifIndex)
        return nullptr;
    return &interface;
}

win::LONG AdapterClassProvider::OpenKey(std::string_view path, win::REGSAM access) {
    if ((access & win::KEY_SET_VALUE) != 0)
        return win::ERROR_ACCESS_DENIED;
    const std::vector<std::string> components = SplitKeyPath(path);
    if (components.empty())
        return win::ERROR_SUCCESS;
    // The adapter's own key asks the kernel; its Ndi subkeys, opened below it right after, go by the
    // listing as its values do.
    if (InterfaceAt(components[0], components.size() == 1) == nullptr || components.size() > 3)
        return win::ERROR_FILE_NOT_FOUND;
    if (components.size() >= 2 && !KeyNamesEqual(components[1], "Ndi"))
        return win::ERROR_FILE_NOT_FOUND;
    if (components.size() == 3 && !KeyNamesEqual(components[2], "Interfaces"))
        return win::ERROR_FILE_NOT_FOUND;
    return win::ERROR_SUCCESS;
}

win::LONG AdapterClassProvider::ListSubKeys(std::string_view path, std::vector<std::string>& names) {
    const std::vector<std::string> components = SplitKeyPath(path);
    if (components.empty()) {
        const std::size_t count = Listed(true).size();
        for (std::size_t i = 0; i < count; ++i)
            names.push_back(SubKeyName(i));
    } else if (components.size() == 1) {
        names.emplace_back("Ndi");
    } else if (components.size() == 2) {
        names.emplace_back("Interfaces");
    }
    return win::ERROR_SUCCESS;
}

win::LONG AdapterClassProvider::QueryValue(std::string_view path, std::string_view name,
                                           RegistryValue& value) {
    const std::vector<std::string> components = SplitKeyPath(path);
    if (components.empty())
        return win::ERROR_FILE_NOT_FOUND;
    const Listing* interface = InterfaceAt(components[0], false);
    if (interface == nullptr)
        return win::ERROR_FILE_NOT_FOUND;
    if (components.size() == 1 && KeyNamesEqual(name, "DriverDesc")) {
        value = StringValue(interface->description);
        return win::ERROR_SUCCESS;
    }
    if (components.size() == 1 && KeyNamesEqual(name, "NetCfgInstanceID")) {
        value = StringValue(text::Utf8ToGbk(interface->link.name));
        return win::ERROR_SUCCESS;
    }
    if (components.size() == 3 && KeyNamesEqual(name, "LowerRange")) {
        value = StringValue(interface->lowerRange);
        return win::ERROR_SUCCESS;
    }
    return win::ERROR_FILE_NOT_FOUND;
}

win::LONG AdapterClassProvider::SetValue(std::string_view, std::string_view, const RegistryValue&) {
    return win::ERROR_ACCESS_DENIED;
}

win::LONG AdapterClassProvider::DeleteValue(std::string_view, std::string_view) {
    return win::ERROR_ACCESS_DENIED;
}

}  // namespace platform_linux
