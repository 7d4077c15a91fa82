#include "TrayPresence.h"

#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace toolkit {

TrayPresence::TrayPresence(QWidget& window, const QIcon& icon, const QString& hint)
    : QObject(&window)
    , m_window(window)
    , m_icon(new QSystemTrayIcon(icon, this))
{
    m_icon->setToolTip(hint);
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_icon->show();
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    Q_EMIT doubleClicked();
            });
    window.installEventFilter(this);
}

void TrayPresence::setHint(const QString& hint)
{
    m_icon->setToolTip(hint);
}

void TrayPresence::showBalloon(const QString& title, const QString& text)
{
    m_icon->showMessage(title, text, QSystemTrayIcon::Information);
}

bool TrayPresence::hidesOnMinimise() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayPresence::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && event->type() == QEvent::WindowStateChange &&
        m_window.isMinimized() && hidesOnMinimise()) {
        // Leave the screen and the taskbar instead of minimising.
        QTimer::singleShot(0, &m_window, [this] {
            m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
            m_window.hide();
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit
