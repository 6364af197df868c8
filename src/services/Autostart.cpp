#include "services/Autostart.h"

#include <array>
#include <cstring>
#include <string>

#include "platform/registry/RegistrySchema.h"

namespace services {

namespace {

// The Run key opened with full access, closed when it goes out of scope.
class RunKey {
  public:
    explicit RunKey(win::Registry& registry) : registry_(registry) {
        if (registry.RegOpenKeyEx(win::HKEY_LOCAL_MACHINE, winreg::kRunKeyPath, 0, win::KEY_ALL_ACCESS,
                                  &key_) != win::ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~RunKey() {
        if (key_ != nullptr)
            registry_.RegCloseKey(key_);
    }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    win::HKEY get() const { return key_; }

  private:
    win::Registry& registry_;
    win::HKEY key_ = nullptr;
};

}  // namespace

bool IsAutostartSetFor(win::Registry& registry, std::string_view modulePath) {
    RunKey key(registry);
    if (key.get() == nullptr)
        return false;
    std::array<std::uint8_t, 256> buffer{};
    win::DWORD type = 0;
    win::DWORD size = 255;
    if (registry.RegQueryValueEx(key.get(), winreg::kRunValueName, &type, buffer.data(), &size) !=
        win::ERROR_SUCCESS) {
        return false;
    }
    // The text up to its first NUL; the last byte of the buffer is never written, so there always is one.
    const std::string stored(reinterpret_cast<const char*>(buffer.data()));
    return stored == modulePath;
}

void StoreAutostart(win::Registry& registry, bool enabled, std::string_view modulePath) {
    RunKey key(registry);
    if (key.get() == nullptr)
        return;
    if (enabled) {
        std::string data(modulePath);
        registry.RegSetValueEx(key.get(), winreg::kRunValueName, win::REG_SZ,
                               reinterpret_cast<const std::uint8_t*>(data.c_str()),
                               static_cast<win::DWORD>(data.size() + 1));
    } else {
        registry.RegDeleteValue(key.get(), winreg::kRunValueName);
    }
}

}  // namespace services
