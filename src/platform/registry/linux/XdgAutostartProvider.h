#pragma once
// The Run key of the Linux registry: each value is a desktop entry in the system's XDG autostart folder,
// which the desktop session starts at every logon. The value "tarnquill" is the file tarnquill.desktop; its
// data, the executable's full path, is the entry's command.
//
// The key opens for writing exactly when the folder is writable by the user, as the Run key opens with
// full access only for a user who may change machine-wide settings.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry/RegistryProvider.h"

namespace platform_linux {

// A desktop entry's Exec value for a command of one program path: quoted where the path holds a reserved
// character, '%' doubled, then escaped as a string value ("\\" for '\', "\n" for a line break).
std::string DesktopExecFor(std::string_view programPath);
// The arguments of an Exec value, with the string escapes and the quoting undone and field codes (%f, %u,
// ...) dropped; nothing when the value is malformed (an unterminated quote).
std::optional<std::vector<std::string>> DesktopExecArguments(std::string_view exec);

class XdgAutostartProvider : public winreg::RegistryProvider {
  public:
    explicit XdgAutostartProvider(std::filesystem::path folder);

    win::LONG OpenKey(std::string_view path, win::REGSAM access) override;
    win::LONG ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    win::LONG QueryValue(std::string_view path, std::string_view name, winreg::RegistryValue& value) override;
    win::LONG SetValue(std::string_view path, std::string_view name,
                       const winreg::RegistryValue& value) override;
    win::LONG DeleteValue(std::string_view path, std::string_view name) override;

  private:
    std::optional<std::filesystem::path> EntryFor(std::string_view name) const;

    std::filesystem::path folder_;
};

}  // namespace platform_linux
