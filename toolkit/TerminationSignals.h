#pragma once

#include <functional>
#include <thread>

namespace toolkit {

// SIGINT and SIGTERM, taken by a thread of their own instead of ending the
// process: the first one runs the handler there. Construct it before any
// other thread starts, so that every thread inherits the blocked signals.
class TerminationSignals
{
public:
    explicit TerminationSignals(std::function<void(int signal)> handler);
    // Releases the thread (without running the handler) and unblocks.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    std::function<void(int)> m_handler;
    std::thread m_waiter;
};

} // namespace toolkit
