#pragma once

#include "ReceiverHost.h"

#include "protocol/TcpServer.h"

#include <QMainWindow>

#include <atomic>
#include <memory>
#include <mutex>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace toolkit {
class PaintedArea;
class TrayPresence;
} // namespace toolkit

namespace receiver {

class TfrmPassword;

// The receiver's main window: the transfer list, the destination folder,
// the password, the server and the tray icon. It hosts the connection
// handlers: they reach it from their own threads through ReceiverHost, and
// it carries their row and balloon changes out on its own thread.
class TfrmMain : public QMainWindow, public ReceiverHost
{
    Q_OBJECT

public:
    // SettingsFile: empty for the program's own settings file.
    explicit TfrmMain(const QString& settingsFile = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // ReceiverHost, called from connection threads.
    QString destinationFolder() const override;
    QString currentPassword() const override;
    bool terminating() const override { return m_terminating; }
    std::mutex& transferListLock() override { return *m_transferListLock; }
    RowId addRow(const TransferRow& row) override;
    void setRow(RowId row, const TransferRow& texts) override;
    void showBalloon(const QString& title, const QString& text) override;

    const protocol::TcpServer& server() const { return m_tcpServer; }
    TfrmPassword& passwordDialog() { return *frmPassword; }

    QTreeWidget* lvTransfers = nullptr;
    QLabel* lblTransfers = nullptr;
    QLabel* lblDestinationFolder = nullptr;
    QLineEdit* txtDestinationFolder = nullptr;
    QPushButton* btnChange = nullptr;
    QPushButton* btnPassword = nullptr;
    QAction* mnuMainFileQuit = nullptr;
    QAction* mnuMainHelpAbout = nullptr;

public Q_SLOTS:
    void btnChangeClick();
    void btnPasswordClick();
    void mnuMainFileQuitClick();
    void mnuMainHelpAboutClick();
    void TrayIconMainDblClick();

Q_SIGNALS:
    // A completion balloon was shown (on the user-interface thread).
    void balloonShown(const QString& title, const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void FormCreate();
    void FormPaint(QPainter& painter);
    void setDestinationFolder(const QString& folder);
    void setCurrentPassword(const QString& password);
    void appendRow(RowId id, const TransferRow& row);
    void changeRow(RowId id, const TransferRow& row);

    const QString m_settingsFile;
    toolkit::PaintedArea* m_client = nullptr;
    QMenu* mnuMainFile = nullptr;
    QMenu* mnuMainHelp = nullptr;
    toolkit::TrayPresence* TrayIconMain = nullptr;
    TfrmPassword* frmPassword = nullptr;
    bool m_placed = false;
    bool m_askingPassword = false;
    bool m_keptAwake = false;

    // Read by connection threads: whole values under their own lock.
    mutable std::mutex m_sharedMutex;
    QString m_destinationFolder;
    QString m_currentPassword;
    std::atomic<bool> m_terminating = false;

    // Created before the server listens, destroyed after its last handler.
    std::unique_ptr<std::mutex> m_transferListLock;
    RowId m_nextRowId = 0; // under the transfer list lock
    protocol::TcpServer m_tcpServer;
};

} // namespace receiver
