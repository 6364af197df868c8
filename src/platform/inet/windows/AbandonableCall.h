#pragma once
// A blocking WinINet call run on a thread of its own, so that the calling thread can stop waiting for it.
// WinINet's synchronous calls wait for the network without a way to be interrupted from the thread that
// made them; the caller instead waits here in short steps, looking at its own message queue in between,
// and leaves as soon as it has been sent WM_CLOSE or WM_QUIT, or the deadline has passed. A call left
// behind finishes on its own (its session's timeouts bound it) and hands its result to `discard`.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace platform_windows {

// True once the calling thread has been sent WM_CLOSE or WM_QUIT; stays true for the thread's life, so a
// fetch that was told to stop starts nothing more. Takes the messages from the thread's queue.
bool CloseRequested();

template <class Result>
std::optional<Result> RunAbandonable(std::function<Result()> call, std::function<void(Result&)> discard,
                                     std::chrono::steady_clock::time_point deadline) {
    if (CloseRequested() || std::chrono::steady_clock::now() >= deadline)
        return std::nullopt;
    struct Shared {
        std::mutex mutex;
        std::condition_variable finished;
        std::optional<Result> result;
        bool abandoned = false;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, call = std::move(call), discard = std::move(discard)] {
        Result result = call();
        std::unique_lock lock(shared->mutex);
        if (shared->abandoned) {
            lock.unlock();
            discard(result);
            return;
        }
        shared->result = std::move(result);
        shared->finished.notify_one();
    }).detach();

    constexpr std::chrono::milliseconds kQueueLookInterval{50};
    std::unique_lock lock(shared->mutex);
    for (;;) {
        if (shared->finished.wait_for(lock, kQueueLookInterval, [&] { return shared->result.has_value(); }))
            return std::move(shared->result);
        lock.unlock();
        const bool giveUp = CloseRequested() || std::chrono::steady_clock::now() >= deadline;
        lock.lock();
        if (giveUp && !shared->result) {
            shared->abandoned = true;
            return std::nullopt;
        }
    }
}

}  // namespace platform_windows
