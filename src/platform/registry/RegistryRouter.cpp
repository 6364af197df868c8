#include "platform/registry/RegistryRouter.h"

#include <algorithm>
#include <cstring>

#include "platform/registry/KeyPath.h"

namespace winreg {

namespace {

// The rights each operation needs, as Windows checks them against the access the key was opened with.
constexpr win::REGSAM kEnumerateSubKeys = 0x0008;

bool StartsWith(const std::vector<std::string>& whole, const std::vector<std::string>& prefix) {
    if (prefix.size() > whole.size())
        return false;
    return std::equal(prefix.begin(), prefix.end(), whole.begin());
}

}  // namespace

RegistryRouter::RegistryRouter(std::unique_ptr<RegistryProvider> fallback) : fallback_(std::move(fallback)) {}

RegistryRouter::~RegistryRouter() = default;

void RegistryRouter::Mount(std::string_view mountPath, std::unique_ptr<RegistryProvider> provider) {
    std::lock_guard lock(mutex_);
    mounts_.push_back(
        {SplitKeyPath(mountPath), LowerKeyComponents(SplitKeyPath(mountPath)), std::move(provider)});
}

int RegistryRouter::OpenKeyCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(keys_.size());
}

RegistryRouter::Route RegistryRouter::RouteOf(const std::vector<std::string>& components) const {
    const std::vector<std::string> lower = LowerKeyComponents(components);
    Route route{fallback_.get(), JoinKeyPath(components, 0), 0};
    for (const Mounted& mount : mounts_) {
        if (StartsWith(lower, mount.lower) &&
            (route.provider == fallback_.get() || mount.lower.size() > route.mountDepth)) {
            route = {mount.provider.get(), JoinKeyPath(components, mount.lower.size()), mount.lower.size()};
        }
    }
    return route;
}

bool RegistryRouter::IsMountAncestor(const std::vector<std::string>& components) const {
    const std::vector<std::string> lower = LowerKeyComponents(components);
    return std::any_of(mounts_.begin(), mounts_.end(), [&](const Mounted& mount) {
        return mount.lower.size() > lower.size() && StartsWith(mount.lower, lower);
    });
}

void RegistryRouter::AddMountChildren(const std::vector<std::string>& components,
                                      std::vector<std::string>& names) const {
    const std::vector<std::string> lower = LowerKeyComponents(components);
    for (const Mounted& mount : mounts_) {
        if (mount.lower.size() <= lower.size() || !StartsWith(mount.lower, lower))
            continue;
        const std::string& child = mount.original[lower.size()];
        const bool known = std::any_of(names.begin(), names.end(),
                                       [&](const std::string& name) { return KeyNamesEqual(name, child); });
        if (!known)
            names.push_back(child);
    }
}

void RegistryRouter::ListSubKeys(OpenKey& open) const {
    open.subKeys.clear();
    const Route& route = open.route;
    open.afterSubKeys = route.provider->ListSubKeys(route.relativePath, open.subKeys);
    if (open.afterSubKeys != win::ERROR_SUCCESS)
        return;
    AddMountChildren(open.components, open.subKeys);
    open.afterSubKeys = win::ERROR_NO_MORE_ITEMS;
}

win::LONG RegistryRouter::Opened(win::HKEY key, win::REGSAM rights, OpenKey*& open) {
    const auto found = keys_.find(key);
    if (found == keys_.end())
        return win::ERROR_INVALID_HANDLE;
    open = found->second.get();
    return (open->access & rights) == rights ? win::ERROR_SUCCESS : win::ERROR_ACCESS_DENIED;
}

win::LONG RegistryRouter::RegOpenKeyEx(win::HKEY parent, std::string_view subKey, win::DWORD,
                                       win::REGSAM access, win::HKEY* result) {
    std::lock_guard lock(mutex_);
    if (result == nullptr)
        return win::ERROR_INVALID_PARAMETER;
    std::vector<std::string> components;
    if (parent != win::HKEY_LOCAL_MACHINE) {
        OpenKey* parentKey = nullptr;
        if (const win::LONG status = Opened(parent, 0, parentKey))
            return status;
        components = parentKey->components;
    }
    for (std::string& component : SplitKeyPath(subKey))
        components.push_back(std::move(component));

    Route route = RouteOf(components);
    if (!components.empty()) {
        const win::LONG status = route.provider->OpenKey(route.relativePath, access);
        // Keys on the way to a mount point exist even when the hive holds nothing there.
        const bool virtualKey = status == win::ERROR_FILE_NOT_FOUND && route.provider == fallback_.get() &&
                                IsMountAncestor(components);
        if (status != win::ERROR_SUCCESS && !virtualKey)
            return status;
    }
    auto key = std::make_unique<OpenKey>();
    key->components = std::move(components);
    key->access = access;
    key->route = std::move(route);
    const auto handle = reinterpret_cast<win::HKEY>(key.get());
    keys_.emplace(handle, std::move(key));
    *result = handle;
    return win::ERROR_SUCCESS;
}

win::LONG RegistryRouter::RegEnumKeyEx(win::HKEY key, win::DWORD index, char* name, win::DWORD* nameSize) {
    std::lock_guard lock(mutex_);
    OpenKey* open = nullptr;
    if (const win::LONG status = Opened(key, kEnumerateSubKeys, open))
        return status;
    if (name == nullptr || nameSize == nullptr)
        return win::ERROR_INVALID_PARAMETER;
    // A snapshot per enumeration keeps index i meaning the same subkey while the caller walks the list,
    // and reads a live source once per walk instead of once per index.
    if (index == 0 || open->subKeys.empty())
        ListSubKeys(*open);
    if (index >= open->subKeys.size())
        return open->afterSubKeys;
    const std::string& subKey = open->subKeys[index];
    if (subKey.size() + 1 > *nameSize)
        return win::ERROR_MORE_DATA;
    std::memcpy(name, subKey.c_str(), subKey.size() + 1);
    *nameSize = static_cast<win::DWORD>(subKey.size());
    return win::ERROR_SUCCESS;
}

win::LONG RegistryRouter::RegQueryValueEx(win::HKEY key, std::string_view valueName, win::DWORD* type,
                                          std::uint8_t* data, win::DWORD* dataSize) {
    std::lock_guard lock(mutex_);
    OpenKey* open = nullptr;
    if (const win::LONG status = Opened(key, win::KEY_QUERY_VALUE, open))
        return status;
    if (data != nullptr && dataSize == nullptr)
        return win::ERROR_INVALID_PARAMETER;
    if (open->components.empty())
        return win::ERROR_FILE_NOT_FOUND;

    RegistryValue value;
    const Route& route = open->route;
    if (const win::LONG status = route.provider->QueryValue(route.relativePath, valueName, value))
        return status;
    return CopyOut(value, type, data, dataSize);
}

// Windows fills in the type and the size even where the data do not fit.
win::LONG RegistryRouter::CopyOut(const RegistryValue& value, win::DWORD* type, std::uint8_t* data,
                                  win::DWORD* dataSize) {
    if (type != nullptr)
        *type = value.type;
    if (dataSize == nullptr)
        return win::ERROR_SUCCESS;
    const auto size = static_cast<win::DWORD>(value.data.size());
    if (data != nullptr && size > *dataSize) {
        *dataSize = size;
        return win::ERROR_MORE_DATA;
    }
    if (data != nullptr && size > 0)
        std::memcpy(data, value.data.data(), size);
    *dataSize = size;
    return win::ERROR_SUCCESS;
}

win::LONG RegistryRouter::RegSetValueEx(win::HKEY key, std::string_view valueName, win::DWORD type,
                                        const std::uint8_t* data, win::DWORD dataSize) {
    std::lock_guard lock(mutex_);
    OpenKey* open = nullptr;
    if (const win::LONG status = Opened(key, win::KEY_SET_VALUE, open))
        return status;
    if (data == nullptr && dataSize != 0)
        return win::ERROR_INVALID_PARAMETER;
    if (open->components.empty())
        return win::ERROR_ACCESS_DENIED;

    RegistryValue value{type, {}};
    if (dataSize > 0)
        value.data.assign(data, data + dataSize);
    const Route& route = open->route;
    return route.provider->SetValue(route.relativePath, valueName, value);
}

win::LONG RegistryRouter::RegDeleteValue(win::HKEY key, std::string_view valueName) {
    std::lock_guard lock(mutex_);
    OpenKey* open = nullptr;
    if (const win::LONG status = Opened(key, win::KEY_SET_VALUE, open))
        return status;
    if (open->components.empty())
        return win::ERROR_FILE_NOT_FOUND;
    const Route& route = open->route;
    return route.provider->DeleteValue(route.relativePath, valueName);
}

win::LONG RegistryRouter::RegCloseKey(win::HKEY key) {
    std::lock_guard lock(mutex_);
    return keys_.erase(key) == 1 ? win::ERROR_SUCCESS : win::ERROR_INVALID_HANDLE;
}

}  // namespace winreg
