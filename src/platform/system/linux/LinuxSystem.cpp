#include "platform/system/linux/LinuxSystem.h"

#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <map>

#include "platform/text/Gbk.h"

namespace platform_linux {
namespace {

win::ThreadId CurrentThreadId() {
    return static_cast<win::ThreadId>(::syscall(SYS_gettid));
}

std::mutex& QueuesMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<win::ThreadId, ThreadMessageQueue*>& Queues() {
    static std::map<win::ThreadId, ThreadMessageQueue*> queues;
    return queues;
}

}  // namespace

ThreadMessageQueue::ThreadMessageQueue() : owner_(CurrentThreadId()) {
    std::lock_guard lock(QueuesMutex());
    Queues()[owner_] = this;
}

ThreadMessageQueue::~ThreadMessageQueue() {
    std::lock_guard lock(QueuesMutex());
    Queues().erase(owner_);
}

bool ThreadMessageQueue::Peek(ThreadMessage& message) {
    std::lock_guard lock(mutex_);
    if (messages_.empty())
        return false;
    message = messages_.front();
    messages_.pop_front();
    return true;
}

bool ThreadMessageQueue::HasMessage() {
    std::lock_guard lock(mutex_);
    return !messages_.empty();
}

void ThreadMessageQueue::Post(const ThreadMessage& message) {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
}

std::string LinuxSystem::GetModuleFileName(std::size_t bufferSize) {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    path.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    std::string gbk = text::Utf8ToGbk(path);
    // Like GetModuleFileNameA, the name is cut to the buffer less its terminating NUL.
    if (bufferSize > 0 && gbk.size() > bufferSize - 1)
        gbk.resize(bufferSize - 1);
    return gbk;
}

win::ThreadId LinuxSystem::GetCurrentThreadId() {
    return CurrentThreadId();
}

bool LinuxSystem::PostThreadMessage(win::ThreadId thread, win::UINT message, win::WPARAM wParam,
                                    win::LPARAM lParam) {
    std::lock_guard lock(QueuesMutex());
    auto it = Queues().find(thread);
    if (it == Queues().end())
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
