#pragma once
// An open registry key that is closed on every path out of the scope that opened it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry/Registry.h"

namespace adapters {

class RegistryKey {
  public:
    explicit RegistryKey(win::Registry& registry) : registry_(registry) {}
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_ != nullptr)
            registry_.RegCloseKey(key_);
    }

    bool Open(win::HKEY parent, std::string_view subKey, win::REGSAM access) {
        error_ = registry_.RegOpenKeyEx(parent, subKey, 0, access, &key_);
        return error_ == win::ERROR_SUCCESS;
    }
    win::HKEY Get() const { return key_; }
    // What the last Open answered.
    win::LONG Error() const { return error_; }

  private:
    win::Registry& registry_;
    win::HKEY key_ = nullptr;
    win::LONG error_ = win::ERROR_SUCCESS;
};

// Values are read through one 256-byte buffer whose size is set to 256 before each query: a longer value
// fails the query and counts as missing.
constexpr win::DWORD kValueBufferSize = 256;

class ValueBuffer {
  public:
    // True when the value could be read; text then holds its bytes up to the first NUL, and never more
    // than the bytes the query returned (a value that fills the buffer without a NUL ends there).
    bool QueryText(win::Registry& registry, win::HKEY key, std::string_view valueName, std::string& text) {
        win::DWORD size = kValueBufferSize;
        if (registry.RegQueryValueEx(key, valueName, nullptr, data_.data(), &size) != win::ERROR_SUCCESS) {
            return false;
        }
        const auto* begin = reinterpret_cast<const char*>(data_.data());
        const std::string_view bytes(begin, size < kValueBufferSize ? size : kValueBufferSize);
        text.assign(bytes.substr(0, bytes.find('\0')));
        return true;
    }

  private:
    std::array<std::uint8_t, kValueBufferSize> data_{};
};

}  // namespace adapters
