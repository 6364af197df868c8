#include "platform/registry/linux/AdapterClassProvider.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/registry/linux/KeyPath.h"
#include "text/Gbk.h"

namespace platform_linux {

namespace fs = std::filesystem;

namespace {

// ARPHRD_* link types from the kernel's if_arp.h, as sysfs "type" shows them.
constexpr int kArphrdEther = 1;
constexpr int kArphrdLoopback = 772;
constexpr std::size_t kSubKeyDigits = 4;
// A value longer than the program's 256-byte buffers would count as missing and hide the adapter.
constexpr std::size_t kMaxDescriptionBytes = 255;

std::optional<std::string> ReadLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line))
        return std::nullopt;
    return line;
}

int ReadNumber(const fs::path& file) {
    const auto line = ReadLine(file);
    if (!line)
        return -1;
    try {
        return std::stoi(*line);
    } catch (...) {
        return -1;
    }
}

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

}  // namespace

AdapterClassProvider::AdapterClassProvider(std::string sysfsRoot, std::string udevRoot)
    : netDir_(sysfsRoot + "/class/net"), udevRoot_(std::move(udevRoot)) {}

std::vector<SysfsInterface> AdapterClassProvider::Interfaces() const {
    std::vector<SysfsInterface> interfaces;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(netDir_, error)) {
        const int ifIndex = ReadNumber(entry.path() / "ifindex");
        if (ifIndex > 0)
            interfaces.push_back({entry.path().filename().string(), ifIndex});
    }
    std::sort(interfaces.begin(), interfaces.end(),
              [](const SysfsInterface& a, const SysfsInterface& b) { return a.ifIndex < b.ifIndex; });
    return interfaces;
}

std::string AdapterClassProvider::LowerRangeOf(const SysfsInterface& interface) const {
    const fs::path dir = fs::path(netDir_) / interface.name;
    const int type = ReadNumber(dir / "type");
    std::error_code error;
    if (type == kArphrdLoopback)
        return "loopback";
    if (type != kArphrdEther)
        return "tunnel";
    if (fs::exists(dir / "wireless", error) || fs::exists(dir / "phy80211", error))
        return "wlan";
    return "ethernet";
}

std::string AdapterClassProvider::DescriptionOf(const SysfsInterface& interface) const {
    // udev's database line "E:ID_MODEL_FROM_DATABASE=82574L Gigabit Network Connection"; the database
    // name beats the device's own ID_MODEL.
    std::ifstream udev(udevRoot_ + "/data/n" + std::to_string(interface.ifIndex));
    std::string line, fromDatabase, model;
    while (std::getline(udev, line)) {
        if (line.rfind("E:ID_MODEL_FROM_DATABASE=", 0) == 0)
            fromDatabase = line.substr(25);
        if (line.rfind("E:ID_MODEL=", 0) == 0)
            model = line.substr(11);
    }
    std::string description = !fromDatabase.empty() ? fromDatabase : model;
    if (description.empty()) {
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

const std::vector<SysfsInterface>& AdapterClassProvider::Listed(bool refresh) {
    if (refresh || !haveListed_) {
        listed_ = Interfaces();
        haveListed_ = true;
    }
    return listed_;
}

// An interface removed since the listing names no key any more.
const SysfsInterface* AdapterClassProvider::InterfaceAt(std::string_view subKey) {
    const auto index = SubKeyIndex(subKey);
    if (!index)
        return nullptr;
    if (*index >= Listed(false).size())
        Listed(true);
    if (*index >= listed_.size())
        return nullptr;
    const SysfsInterface& interface = listed_[*index];
    if (ReadNumber(fs::path(netDir_) / interface.name / "ifindex") != interface.ifIndex)
        return nullptr;
    return &interface;
}

win::LONG AdapterClassProvider::OpenKey(std::string_view path, win::REGSAM access) {
    if ((access & win::KEY_SET_VALUE) != 0)
        return win::ERROR_ACCESS_DENIED;
    const std::vector<std::string> components = SplitKeyPath(path);
    if (components.empty())
        return win::ERROR_SUCCESS;
    if (InterfaceAt(components[0]) == nullptr || components.size() > 3)
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
    const SysfsInterface* found = InterfaceAt(components[0]);
    if (found == nullptr)
        return win::ERROR_FILE_NOT_FOUND;
    const SysfsInterface interface = *found;
    if (components.size() == 1 && KeyNamesEqual(name, "DriverDesc")) {
        value = StringValue(DescriptionOf(interface));
        return win::ERROR_SUCCESS;
    }
    if (components.size() == 1 && KeyNamesEqual(name, "NetCfgInstanceID")) {
        value = StringValue(text::Utf8ToGbk(interface.name));
        return win::ERROR_SUCCESS;
    }
    if (components.size() == 3 && KeyNamesEqual(name, "LowerRange")) {
        value = StringValue(LowerRangeOf(interface));
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
