#include "platform/file/windows/WindowsFileSystem.h"

#include <windows.h>

#include <algorithm>

#include "platform/text/Gbk.h"

namespace platform_windows {
namespace {

std::wstring OsPath(const std::string& gbkPath) {
    const std::u16string utf16 = text::GbkToUtf16(gbkPath);
    return {utf16.begin(), utf16.end()};
}

// A file handle closed with its owner.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (ok())
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

HANDLE Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    return CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The read-only attribute and links are checked here rather than left to the open: an administrator
// under some systems opens a read-only file for writing, and a link may lead anywhere.
bool IsPlainWritableFile(DWORD attributes) {
    constexpr DWORD kRefused =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kRefused) == 0;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return FlushFileBuffers(file) != 0;
}

// Writes the new content beside the target, then puts it in the target's place in one rename, so the
// profile file is never seen half written and the old content survives any failure.
bool WriteThenRename(const std::wstring& target, const std::string& bytes) {
    const std::wstring replacement = target + L".new";
    bool complete = false;
    {
        FileHandle file(Open(replacement, GENERIC_WRITE, 0, CREATE_ALWAYS));
        complete = file.ok() && WriteAll(file.get(), bytes);
    }
    complete = complete && MoveFileExW(replacement.c_str(), target.c_str(),
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!complete)
        DeleteFileW(replacement.c_str());
    return complete;
}

}  // namespace

bool WindowsFileSystem::Exists(const std::string& path) {
    return GetFileAttributesW(OsPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> WindowsFileSystem::ReadExisting(const std::string& path) {
    const std::wstring target = OsPath(path);
    if (!IsPlainWritableFile(GetFileAttributesW(target.c_str())))
        return std::nullopt;
    // Read and write access as the profile file is opened, so a file this user may not write does not load.
    FileHandle file(Open(target, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
    if (!file.ok())
        return std::nullopt;
    // Read straight into a string of the file's size (and one byte more, to see its end), as the Linux
    // home does; a file that grows meanwhile is read whole.
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - used, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + used, wanted, &read, nullptr))
            return std::nullopt;
        if (read == 0)
            break;
        used += read;
    }
    bytes.resize(used);
    return bytes;
}

bool WindowsFileSystem::ReplaceContents(const std::string& path, const std::string& bytes) {
    const std::wstring target = OsPath(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // The file must be writable where it stands: a read-only or locked profile file is never replaced.
        FileHandle probe(Open(target, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
        if (!IsPlainWritableFile(attributes) || !probe.ok())
            return false;
    }
    return WriteThenRename(target, bytes);
}

bool WindowsFileSystem::CreateEmpty(const std::string& path) {
    return FileHandle(Open(OsPath(path), GENERIC_WRITE, 0, CREATE_ALWAYS)).ok();
}

bool WindowsFileSystem::OpenExclusiveAndDelete(const std::string& path) {
    const std::wstring target = OsPath(path);
    if (!FileHandle(Open(target, GENERIC_READ, 0, OPEN_EXISTING)).ok())
        return false;
    return DeleteFileW(target.c_str()) != 0;
}

}  // namespace platform_windows
