#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace testing_support {

// Waits on a condition variable until the predicate holds, at most Limit;
// true when it held. The limit only guards against a hang.
template <typename Predicate>
bool waitFor(std::condition_variable& changed, std::unique_lock<std::mutex>& lock,
             Predicate predicate, std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    return changed.wait_for(lock, limit, predicate);
}

// For states that give no signal to wait on, such as a file that another
// thread writes: checks the predicate every millisecond, at most Limit.
template <typename Predicate>
bool pollUntil(Predicate predicate, std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace testing_support
