#include "platform/system/windows/WindowsSystem.h"

#include <future>

#include "platform/system/windows/SystemCalls.h"
#include "platform/text/Gbk.h"

namespace platform_windows {

bool PeekThreadMessage(ThreadMessage& message) {
    return calls::TakeThreadMessage(message.message, message.wParam, message.lParam);
}

std::optional<std::string> ModulePathInGbk(std::u16string_view path, std::size_t bufferSize) {
    std::string gbk = text::Utf16ToGbk(path);
    // A character GBK cannot hold comes back as "?", which may name a sibling folder.
    if (text::GbkToUtf16(gbk) != path)
        return std::nullopt;
    // The name and its terminating NUL must fit the buffer; GetModuleFileNameA would cut it.
    if (bufferSize == 0 || gbk.size() > bufferSize - 1)
        return std::nullopt;
    return gbk;
}

// The wide form, converted by our own code page 936 tables: the ANSI form would follow whatever code
// page the system runs with and patch what it cannot hold with "?".
std::optional<std::string> WindowsSystem::GetModuleFileName(std::size_t bufferSize) {
    const std::u16string path = calls::ModuleFileName();
    if (path.empty())
        return std::nullopt;
    return ModulePathInGbk(path, bufferSize);
}

win::ThreadId WindowsSystem::GetCurrentThreadId() {
    return calls::CurrentThreadId();
}

win::StartedThread WindowsSystem::CreateThread(std::function<void()> body) {
    std::promise<win::ThreadId> started;
    std::future<win::ThreadId> id = started.get_future();
    std::thread thread([body = std::move(body), started = std::move(started)]() mutable {
        calls::MakeThreadQueue();
        started.set_value(calls::CurrentThreadId());
        body();
    });
    return {std::move(thread), id.get()};
}

bool WindowsSystem::PostThreadMessage(win::ThreadId thread, win::UINT message, win::WPARAM wParam,
                                      win::LPARAM lParam) {
    return calls::PostToThread(thread, message, wParam, lParam);
}

win::DWORD WindowsSystem::GetTickCount() {
    return calls::TickCount();
}

}  // namespace platform_windows
