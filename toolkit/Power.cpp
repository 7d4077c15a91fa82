#include "Power.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>

#include <mutex>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

namespace toolkit {

#ifdef Q_OS_WIN

bool KeepAwake()
{
    return SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0;
}

bool AllowSleep()
{
    return SetThreadExecutionState(ES_CONTINUOUS) != 0;
}

#else

namespace {

// logind keeps the computer awake for as long as somebody holds the file
// descriptor that its Inhibit call hands out; closing it lifts the block.
struct SleepInhibitor
{
    std::mutex mutex;
    std::optional<QDBusUnixFileDescriptor> lock;
};

SleepInhibitor& inhibitor()
{
    static SleepInhibitor instance;
    return instance;
}

std::optional<QDBusUnixFileDescriptor> requestInhibitLock()
{
    const QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return std::nullopt;
    QDBusInterface manager(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s,
                           u"org.freedesktop.login1.Manager"_s, bus);
    if (!manager.isValid())
        return std::nullopt;
    const QDBusReply<QDBusUnixFileDescriptor> reply = manager.call(
        u"Inhibit"_s, u"sleep"_s, u"Korvalla"_s, u"Files are being transferred"_s, u"block"_s);
    if (!reply.isValid() || !reply.value().isValid())
        return std::nullopt;
    return reply.value();
}

} // namespace

bool KeepAwake()
{
    auto& state = inhibitor();
    const std::lock_guard guard(state.mutex);
    if (state.lock)
        return true;
    state.lock = requestInhibitLock();
    return state.lock.has_value();
}

bool AllowSleep()
{
    auto& state = inhibitor();
    const std::lock_guard guard(state.mutex);
    const bool held = state.lock.has_value();
    state.lock.reset(); // closes our copy of the descriptor
    return held;
}

#endif

} // namespace toolkit
