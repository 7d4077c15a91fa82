#pragma once

#include <QObject>

class QIcon;
class QSystemTrayIcon;
class QWidget;

namespace toolkit {

// A window's icon in the notification area, shown for the program's whole
// run. Minimising the window hides it to the tray, where the desktop has a
// tray; where it has none, minimise minimises (hiding would lose the
// window). A double click on the icon brings the window back in front.
class TrayPresence : public QObject
{
    Q_OBJECT

public:
    TrayPresence(QWidget& window, const QIcon& icon, const QString& hint);

    void setHint(const QString& hint);
    // A balloon with the information icon.
    void showBalloon(const QString& title, const QString& text);
    // True where minimising hides the window to the tray.
    bool hidesOnMinimise() const;

Q_SIGNALS:
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    QSystemTrayIcon* m_icon = nullptr;
};

} // namespace toolkit
