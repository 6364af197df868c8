#include "platform/system/linux/LinuxSystem.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <ctime>
#include <future>
#include <map>

#include "platform/text/Gbk.h"

namespace platform_linux {
namespace {

win::ThreadId CurrentThreadId() {
    return static_cast<win::ThreadId>(::syscall(SYS_gettid));
}

struct QueueRegistry {
    std::mutex mutex;
    std::map<win::ThreadId, ThreadMessageQueue*> queues;
};

// Never destroyed: a thread that was let go rather than joined may still unregister its queue while the
// ending program tears down its statics.
QueueRegistry& Registry() {
    static auto* registry = new QueueRegistry;
    return *registry;
}

thread_local ThreadMessageQueue* currentQueue = nullptr;

}  // namespace

ThreadMessageQueue::ThreadMessageQueue() : owner_(CurrentThreadId()) {
    std::lock_guard lock(Registry().mutex);
    Registry().queues[owner_] = this;
    currentQueue = this;
}

ThreadMessageQueue::~ThreadMessageQueue() {
    std::lock_guard lock(Registry().mutex);
    Registry().queues.erase(owner_);
    currentQueue = nullptr;
}

ThreadMessageQueue* ThreadMessageQueue::Current() {
    return currentQueue;
}

bool ThreadMessageQueue::Peek(ThreadMessage& message) {
    std::lock_guard lock(mutex_);
    if (messages_.empty())
        return false;
    message = messages_.front();
    messages_.pop_front();
    return true;
}

void ThreadMessageQueue::Post(const ThreadMessage& message) {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
}

std::optional<std::string> ModulePathInGbk(std::string_view utf8Path, std::size_t bufferSize) {
    std::string gbk = text::Utf8ToGbk(utf8Path);
    // A character GBK cannot hold comes back as "?", which may name a sibling folder.
    if (text::GbkToUtf8(gbk) != utf8Path)
        return std::nullopt;
    // The name and its terminating NUL must fit the buffer; GetModuleFileNameA would cut it.
    if (bufferSize == 0 || gbk.size() > bufferSize - 1)
        return std::nullopt;
    return gbk;
}

std::optional<std::string> LinuxSystem::GetModuleFileName(std::size_t bufferSize) {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    // readlink fills the whole buffer when the path may be longer.
    if (n <= 0 || static_cast<std::size_t>(n) >= path.size())
        return std::nullopt;
    path.resize(static_cast<std::size_t>(n));
    return ModulePathInGbk(path, bufferSize);
}

win::ThreadId LinuxSystem::GetCurrentThreadId() {
    return CurrentThreadId();
}

win::StartedThread LinuxSystem::CreateThread(std::function<void()> body) {
    std::promise<win::ThreadId> started;
    std::future<win::ThreadId> id = started.get_future();
    std::thread thread([body = std::move(body), started = std::move(started)]() mutable {
        ThreadMessageQueue queue;
        started.set_value(CurrentThreadId());
        body();
    });
    return {std::move(thread), id.get()};
}

bool LinuxSystem::PostThreadMessage(win::ThreadId thread, win::UINT message, win::WPARAM wParam,
                                    win::LPARAM lParam) {
    std::lock_guard lock(Registry().mutex);
    auto it = Registry().queues.find(thread);
    if (it == Registry().queues.end())
        return false;
    it->second->Post({message, wParam, lParam});
    return true;
}

win::DWORD LinuxSystem::GetTickCount() {
    timespec ts{};
    ::clock_gettime(CLOCK_BOOTTIME, &ts);
    const auto ms = static_cast<unsigned long long>(ts.tv_sec) * 1000ULL +
                    static_cast<unsigned long long>(ts.tv_nsec) / 1000000ULL;
    return static_cast<win::DWORD>(ms);
}

}  // namespace platform_linux
