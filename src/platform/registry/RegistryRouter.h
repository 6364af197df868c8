#pragma once
// HKEY_LOCAL_MACHINE as a tree of providers mounted at key paths, with the Windows rules the program
// relies on kept here and nowhere else: handles, the access a key was opened with, ERROR_MORE_DATA for a
// buffer too small, enumeration by index over a snapshot, names compared without regard to ASCII letter
// case. A key belongs to the provider mounted at the longest prefix of its path; the ancestors of mount
// points exist as keys of their own so that a path can be opened step by step, as on Windows.
//
// A handle names a key path, not a key object: a key that goes away under an open handle reads as a
// missing key, and one made again under the same name is the one the handle reaches.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry/Registry.h"
#include "platform/registry/RegistryProvider.h"

namespace winreg {

class RegistryRouter : public win::Registry {
  public:
    // fallback serves every key no mount covers.
    explicit RegistryRouter(std::unique_ptr<RegistryProvider> fallback);
    ~RegistryRouter() override;

    // mountPath is a key path under HKEY_LOCAL_MACHINE, e.g. "Software\Microsoft\Windows\CurrentVersion\Run".
    // Mounts are made before any key is opened: an open key keeps the route it was opened on.
    void Mount(std::string_view mountPath, std::unique_ptr<RegistryProvider> provider);
    // Handles opened and not yet closed.
    int OpenKeyCount() const;

    win::LONG RegOpenKeyEx(win::HKEY parent, std::string_view subKey, win::DWORD options, win::REGSAM access,
                           win::HKEY* result) override;
    win::LONG RegEnumKeyEx(win::HKEY key, win::DWORD index, char* name, win::DWORD* nameSize) override;
    win::LONG RegQueryValueEx(win::HKEY key, std::string_view valueName, win::DWORD* type, std::uint8_t* data,
                              win::DWORD* dataSize) override;
    win::LONG RegSetValueEx(win::HKEY key, std::string_view valueName, win::DWORD type,
                            const std::uint8_t* data, win::DWORD dataSize) override;
    win::LONG RegDeleteValue(win::HKEY key, std::string_view valueName) override;
    win::LONG RegCloseKey(win::HKEY key) override;

  private:
    struct Mounted {
        std::vector<std::string> original;
        std::vector<std::string> lower;
        std::unique_ptr<RegistryProvider> provider;
    };
    struct Route {
        RegistryProvider* provider = nullptr;
        std::string relativePath;
        std::size_t mountDepth = 0;
    };
    struct OpenKey {
        std::vector<std::string> components;  // as the caller wrote them
        win::REGSAM access = 0;
        // Where the key's calls go, found at its open: the mounts are made before any key is opened.
        Route route;
        // A snapshot taken when an enumeration starts, and what comes after its last name.
        std::vector<std::string> subKeys;
        win::LONG afterSubKeys = win::ERROR_NO_MORE_ITEMS;
    };

    Route RouteOf(const std::vector<std::string>& components) const;
    bool IsMountAncestor(const std::vector<std::string>& components) const;
    void AddMountChildren(const std::vector<std::string>& components, std::vector<std::string>& names) const;
    void ListSubKeys(OpenKey& open) const;
    // The key behind a handle, when it was opened with every one of rights.
    win::LONG Opened(win::HKEY key, win::REGSAM rights, OpenKey*& open);
    static win::LONG CopyOut(const RegistryValue& value, win::DWORD* type, std::uint8_t* data,
                             win::DWORD* dataSize);

    std::unique_ptr<RegistryProvider> fallback_;
    std::vector<Mounted> mounts_;
    std::map<win::HKEY, std::unique_ptr<OpenKey>> keys_;
    mutable std::mutex mutex_;
};

}  // namespace winreg
