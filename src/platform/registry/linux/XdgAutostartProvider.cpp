#include "platform/registry/linux/XdgAutostartProvider.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/text/Gbk.h"

namespace platform_linux {

using winreg::RegistryValue;

namespace {

constexpr std::string_view kEntrySuffix = ".desktop";
// Rights beyond reading: asking for any of them needs a folder the user may write to.
constexpr win::REGSAM kWriteRights = win::KEY_SET_VALUE | 0x0004 /* KEY_CREATE_SUB_KEY */ |
                                     0x00010000 /* DELETE */ | 0x00040000 /* WRITE_DAC */ |
                                     0x00080000 /* WRITE_OWNER */;
// Characters that make an Exec argument need quotes.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Undoes the escapes of a desktop entry's string value.
std::string UnescapeString(std::string_view raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        switch (raw[++i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                out += '\\';
                out += raw[i];
                break;
        }
    }
    return out;
}

// The value of key in the [Desktop Entry] group, as written in the file.
std::optional<std::string> EntryKey(const std::filesystem::path& file, std::string_view key) {
    std::ifstream in(file);
    if (!in)
        return std::nullopt;
    std::string line;
    bool inMainGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inMainGroup || equals == std::string::npos)
            continue;
        std::string_view name(line.data(), equals);
        while (!name.empty() && name.back() == ' ')
            name.remove_suffix(1);
        if (name != key)
            continue;
        std::string_view value(line);
        value.remove_prefix(equals + 1);
        while (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        return std::string(value);
    }
    return std::nullopt;
}

bool FolderWritable(const std::filesystem::path& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace

std::string DesktopExecFor(std::string_view programPath) {
    std::string argument;
    if (programPath.empty() || programPath.find_first_of(kReservedInExec) != std::string_view::npos) {
        argument = "\"";
        for (char c : programPath) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                argument += '\\';
            argument += c;
        }
        argument += '"';
    } else {
        argument = programPath;
    }
    std::string exec;
    for (char c : argument) {
        if (c == '%')
            exec += "%%";
        else if (c == '\\')
            exec += "\\\\";
        else if (c == '\n')
            exec += "\\n";
        else if (c == '\t')
            exec += "\\t";
        else if (c == '\r')
            exec += "\\r";
        else
            exec += c;
    }
    return exec;
}

std::optional<std::vector<std::string>> DesktopExecArguments(std::string_view exec) {
    const std::string command = UnescapeString(exec);
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (c == ' ') {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else if (c == '"') {
            inArgument = true;
            for (++i; i < command.size() && command[i] != '"'; ++i) {
                // "%%" is a percent sign inside quotes as well: the launcher expands it before it
                // splits the line.
                if (command[i] == '\\' && i + 1 < command.size())
                    ++i;
                else if (command[i] == '%' && i + 1 < command.size() && command[i + 1] == '%')
                    ++i;
                current += command[i];
            }
            if (i == command.size())
                return std::nullopt;
        } else if (c == '%' && i + 1 < command.size()) {
            // "%%" is a percent sign; any other field code stands for arguments the launcher fills in.
            if (command[++i] == '%') {
                current += '%';
                inArgument = true;
            }
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

XdgAutostartProvider::XdgAutostartProvider(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::optional<std::filesystem::path> XdgAutostartProvider::EntryFor(std::string_view name) const {
    const std::string wanted = text::GbkToUtf8(name) + std::string(kEntrySuffix);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        if (SameIgnoringAsciiCase(entry.path().filename().string(), wanted))
            return entry.path();
    }
    return std::nullopt;
}

win::LONG XdgAutostartProvider::OpenKey(std::string_view path, win::REGSAM access) {
    std::error_code error;
    if (!path.empty() || !std::filesystem::is_directory(folder_, error))
        return win::ERROR_FILE_NOT_FOUND;
    if ((access & kWriteRights) != 0 && !FolderWritable(folder_))
        return win::ERROR_ACCESS_DENIED;
    return win::ERROR_SUCCESS;
}

win::LONG XdgAutostartProvider::ListSubKeys(std::string_view path, std::vector<std::string>& names) {
    names.clear();
    return path.empty() ? win::ERROR_SUCCESS : win::ERROR_FILE_NOT_FOUND;
}

win::LONG XdgAutostartProvider::QueryValue(std::string_view path, std::string_view name,
                                           RegistryValue& value) {
    if (!path.empty())
        return win::ERROR_FILE_NOT_FOUND;
    const auto file = EntryFor(name);
    if (!file)
        return win::ERROR_FILE_NOT_FOUND;
    // An entry hidden by the user counts as deleted, as the session does not start it.
    if (const auto hidden = EntryKey(*file, "Hidden"); hidden && *hidden == "true")
        return win::ERROR_FILE_NOT_FOUND;
    const auto exec = EntryKey(*file, "Exec");
    const auto arguments = exec ? DesktopExecArguments(*exec) : std::nullopt;
    if (!arguments || arguments->empty())
        return win::ERROR_FILE_NOT_FOUND;
    // A Run value is one command line: the program alone, or with arguments, those with spaces quoted.
    std::string commandLine;
    if (arguments->size() == 1) {
        commandLine = arguments->front();
    } else {
        for (const std::string& argument : *arguments) {
            if (!commandLine.empty())
                commandLine += ' ';
            commandLine += argument.find(' ') == std::string::npos ? argument : "\"" + argument + "\"";
        }
    }
    const std::string gbk = text::Utf8ToGbk(commandLine);
    value.type = win::REG_SZ;
    value.data.assign(gbk.begin(), gbk.end());
    value.data.push_back(0);
    return win::ERROR_SUCCESS;
}

win::LONG XdgAutostartProvider::SetValue(std::string_view path, std::string_view name,
                                         const RegistryValue& value) {
    if (!path.empty())
        return win::ERROR_FILE_NOT_FOUND;
    if (name.empty() || name.find('/') != std::string_view::npos || value.type != win::REG_SZ) {
        return win::ERROR_INVALID_PARAMETER;
    }
    std::string data(value.data.begin(), value.data.end());
    data = data.substr(0, data.find('\0'));
    const std::string utf8Name = text::GbkToUtf8(name);
    const std::filesystem::path file =
        EntryFor(name).value_or(folder_ / (utf8Name + std::string(kEntrySuffix)));

    std::ostringstream entry;
    entry << "[Desktop Entry]\nType=Application\nName=" << utf8Name
          << "\nExec=" << DesktopExecFor(text::GbkToUtf8(data)) << "\nTerminal=false\n";
    const std::string bytes = entry.str();

    // Written beside the entry and renamed over it, so the session never reads half a file.
    std::string temporary = (folder_ / ".tarnquill-XXXXXX").string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return win::ERROR_ACCESS_DENIED;
    const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                         ::fchmod(fd, 0644) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return win::ERROR_ACCESS_DENIED;
    }
    return win::ERROR_SUCCESS;
}

win::LONG XdgAutostartProvider::DeleteValue(std::string_view path, std::string_view name) {
    if (!path.empty())
        return win::ERROR_FILE_NOT_FOUND;
    const auto file = EntryFor(name);
    if (!file)
        return win::ERROR_FILE_NOT_FOUND;
    return ::unlink(file->c_str()) == 0 ? win::ERROR_SUCCESS : win::ERROR_ACCESS_DENIED;
}

}  // namespace platform_linux
