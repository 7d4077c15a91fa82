#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>

namespace testing_support {

// Handles the user-interface thread's events until the predicate holds, at
// most Limit; waits for events rather than sleeping.
template <typename Predicate>
bool processEventsUntil(Predicate predicate,
                        std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    QElapsedTimer timer;
    timer.start();
    // The timed processEvents ignores WaitForMoreEvents; a timer wakes the
    // untimed one instead, so that the limit is looked at now and then.
    QTimer wake;
    wake.start(20);
    while (!predicate()) {
        if (timer.elapsed() > limit.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Acts on the next modal window once it is open (a dialog run with exec()).
inline void whenModalOpens(std::function<void(QWidget&)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(*modal);
        }
    });
    poll->start();
}

} // namespace testing_support
