#pragma once

#include "FileList.h"
#include "SendWindow.h"

#include <QMainWindow>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace toolkit {
class PaintedArea;
class TrayPresence;
} // namespace toolkit

namespace sender {

class ProgressImage;

// The sender's window: host, port, password, the file list, the options,
// the status lines and the progress bar. Send runs a batch on a thread of
// its own; the batch reaches the window through SendWindow, and every
// label, question and report happens here on the window's thread.
class TfrmMain : public QMainWindow, public SendWindow
{
    Q_OBJECT

public:
    // SettingsFile: empty for the program's own settings file.
    explicit TfrmMain(const QString& settingsFile = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    bool batchRunning() const { return m_batch.has_value(); }
    FileList& files() { return m_files; }

    QLabel* lblRemoteHost = nullptr;
    QLineEdit* txtRemoteHost = nullptr;
    QLabel* lblPort = nullptr;
    QLineEdit* txtPort = nullptr;
    QLabel* lblPassword = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLabel* lblFiles = nullptr;
    QListWidget* lbFiles = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnClearAll = nullptr;
    QLabel* lblStatusFileNumber = nullptr;
    QLabel* lblStatusPercent = nullptr;
    QLabel* lblStatusFileName = nullptr;
    QLabel* lblStatusSpeed = nullptr;
    QLabel* lblStatusRemainingTime = nullptr;
    ProgressImage* ImageProgress = nullptr;
    QCheckBox* cbAutoMode = nullptr;
    QCheckBox* cbOverwrite = nullptr;
    QLabel* lblAuto = nullptr;
    QPushButton* btnSend = nullptr;
    QAction* mnuMainFileQuit = nullptr;
    QAction* mnuMainHelpAbout = nullptr;

public Q_SLOTS:
    void btnSendClick();
    void cbAutoModeClick();
    void mnuMainFileQuitClick();
    void mnuMainHelpAboutClick();
    void TrayIconMainDblClick();

Q_SIGNALS:
    // A batch has ended and its thread is joined.
    void batchFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // SendWindow, called on the batch's thread.
    BatchInputs inputs() override;
    bool terminating() const override { return m_terminating; }
    void showError(const QString& text) override;
    bool confirmStart() override;
    void setBusy(bool busy) override;
    void showStatus(const StatusTexts& status) override;
    void showCountdown(const QString& text) override;
    void showProgress(int percent) override;
    bool askOverwrite(const QString& question) override;
    bool askRetry(const QString& question, const QString& caption) override;
    void showReport(const QString& text) override;
    bool waitUnlessTerminating(std::chrono::milliseconds duration) override;

    void buildWindow();
    void FormCreate();
    void FormDestroy();
    void FormPaint(QPainter& painter);
    void DrawProgress();
    void onBatchEnded();
    // Runs Work on the window's thread and waits for it.
    template <typename Work> void onWindowThread(Work work);
    // Runs Work on the window's thread later, in order with the rest.
    template <typename Work> void postToWindow(Work work);

    const QString m_settingsFile;
    toolkit::PaintedArea* m_client = nullptr;
    QMenu* mnuMainFile = nullptr;
    QMenu* mnuMainHelp = nullptr;
    toolkit::TrayPresence* TrayIconMain = nullptr;
    FileList m_files;
    bool m_placed = false;
    bool m_keptAwake = false;

    std::optional<std::thread> m_batch;
    std::atomic<bool> m_batchDone = false;
    std::atomic<bool> m_terminating = false;
    std::mutex m_waitMutex;
    std::condition_variable m_terminatingChanged;
};

} // namespace sender
