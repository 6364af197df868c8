#pragma once
// The registry of the Linux build: HKEY_LOCAL_MACHINE as a tree of providers mounted at key paths. A key
// belongs to the provider mounted at the longest prefix of its path; the ancestors of mount points exist
// as keys of their own so that a path can be opened step by step, as on Windows.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry/Registry.h"
#include "platform/registry/linux/RegistryProvider.h"

namespace platform_linux {

class LinuxRegistry : public win::Registry {
  public:
    // fallback serves every key no mount covers (the hive).
    explicit LinuxRegistry(std::unique_ptr<RegistryProvider> fallback);
    ~LinuxRegistry() override;

    // mountPath is a key path under HKEY_LOCAL_MACHINE, e.g. "Software\Microsoft\Windows\CurrentVersion\Run".
    void Mount(std::string_view mountPath, std::unique_ptr<RegistryProvider> provider);

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
    struct OpenKey {
        std::vector<std::string> components;  // as the caller wrote them
        win::REGSAM access = 0;
        std::vector<std::string> subKeys;  // snapshot taken when an enumeration starts
    };
    struct Route {
        RegistryProvider* provider = nullptr;
        std::string relativePath;
        std::size_t mountDepth = 0;
    };

    Route RouteOf(const std::vector<std::string>& components) const;
    bool IsMountAncestor(const std::vector<std::string>& components) const;
    void AddMountChildren(const std::vector<std::string>& components, std::vector<std::string>& names) const;
    OpenKey* Find(win::HKEY key);

    std::unique_ptr<RegistryProvider> fallback_;
    std::vector<Mounted> mounts_;
    std::map<win::HKEY, std::unique_ptr<OpenKey>> keys_;
    std::mutex mutex_;
};

inline constexpr const char* kAdapterClassKeyPath =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
inline constexpr const char* kTcpipInterfacesKeyPath =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";

// The registry the program ships with: the adapter class key over the kernel's links, the TCP/IP interface
// keys over the kernel's live state with pending values in the hive, every other key in the hive. Roots come
// from OSTRELLE_SYSFS_ROOT, OSTRELLE_UDEV_ROOT, OSTRELLE_HIVE_PATH and OSTRELLE_RESOLV_CONF. Further
// providers (the Run key) are mounted on the result.
std::unique_ptr<LinuxRegistry> MakeLinuxRegistry();

}  // namespace platform_linux
