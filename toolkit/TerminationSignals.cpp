#include "TerminationSignals.h"

#include <csignal>

#include <pthread.h>

namespace toolkit {
namespace {

// SIGUSR2 only ever wakes our own waiter when it is no longer needed.
constexpr int kRelease = SIGUSR2;

sigset_t waitedSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, kRelease);
    return set;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> handler)
    : m_handler(std::move(handler))
{
    const sigset_t set = waitedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    m_waiter = std::thread([this, set] {
        int signal = 0;
        if (sigwait(&set, &signal) == 0 && signal != kRelease)
            m_handler(signal);
    });
}

TerminationSignals::~TerminationSignals()
{
    pthread_kill(m_waiter.native_handle(), kRelease);
    m_waiter.join();
    const sigset_t set = waitedSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

} // namespace toolkit
