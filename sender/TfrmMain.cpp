#include "TfrmMain.h"

#include "BatchSend.h"
#include "ProgressBar.h"

#include "toolkit/Fonts.h"
#include "toolkit/FormToolz.h"
#include "toolkit/Language.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PaintedArea.h"
#include "toolkit/Power.h"
#include "toolkit/ProgramMenu.h"
#include "toolkit/Settings.h"
#include "toolkit/TrayPresence.h"
#include "toolkit/WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QThread>

using namespace Qt::StringLiterals;
using toolkit::LangText;

namespace sender {
namespace {

const QString kSection = u"Main"_s;

QString applicationTitle()
{
    return LangText(toolkit::IsSwedish(), u"Korvalla 4.50"_s, u"Tellvik 4.50"_s);
}

QLabel* statusLabel(QWidget* parent, int top)
{
    auto* label = new QLabel(parent);
    label->setGeometry(24, top, 217, 20);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(toolkit::FixedFont());
    label->setTextFormat(Qt::PlainText); // "&" shows as itself
    return label;
}

} // namespace

TfrmMain::TfrmMain(const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent)
    , lbFiles(new QListWidget)
    , m_settingsFile(settingsFile)
    , m_files(*lbFiles)
{
    buildWindow();
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // A batch still running winds down first; it may need this thread to
    // answer it meanwhile.
    m_terminating = true;
    m_terminatingChanged.notify_all();
    if (m_batch && !m_batchDone) {
        QEventLoop loop;
        connect(this, &TfrmMain::batchFinished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (m_batch)
        m_batch->join();
    FormDestroy();
}

void TfrmMain::buildWindow()
{
    m_client = toolkit::SetUpMainWindow(*this, u"Korvalla 4.50"_s,
                                        QIcon(u":/sender/icons/korvalla.svg"_s), QSize(265, 521));
    m_client->setPainter([this](QPainter& painter) { FormPaint(painter); });

    const toolkit::ProgramMenu menu = toolkit::AddProgramMenu(*this);
    mnuMainFile = menu.file;
    mnuMainFileQuit = menu.quit;
    mnuMainHelp = menu.help;
    mnuMainHelpAbout = menu.about;
    connect(mnuMainFileQuit, &QAction::triggered, this, &TfrmMain::mnuMainFileQuitClick);
    connect(mnuMainHelpAbout, &QAction::triggered, this, &TfrmMain::mnuMainHelpAboutClick);

    const auto label = [this](const QString& text, int left, int top) {
        auto* l = new QLabel(text, m_client);
        l->move(left, top);
        return l;
    };
    const auto edit = [this](int left, int top, int width, const QString& text) {
        auto* e = new QLineEdit(text, m_client);
        e->setGeometry(left, top, width, 23);
        e->setFont(toolkit::FixedFont());
        e->installEventFilter(this);
        return e;
    };
    lblRemoteHost = label(u"Värddator:"_s, 24, 24);
    txtRemoteHost = edit(24, 40, 153, u"127.0.0.1"_s);
    lblPort = label(u"Port:"_s, 184, 24);
    txtPort = edit(184, 40, 57, u"4520"_s);
    txtPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), txtPort));
    lblPassword = label(u"Lösenord:"_s, 24, 72);
    txtPassword = edit(24, 88, 217, {});
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(u"QLineEdit { lineedit-password-character: 42; }"_s);
    lblFiles = label(u"Fil(er):"_s, 24, 128);
    lbFiles->setParent(m_client);
    lbFiles->setGeometry(24, 144, 217, 65);
    lbFiles->setFont(toolkit::FixedFont());
    lbFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    lbFiles->installEventFilter(this);

    btnAdd = new QPushButton(u"+ Lägg till"_s, m_client);
    btnAdd->setGeometry(24, 216, 105, 33);
    btnClearAll = new QPushButton(u"Rensa allt"_s, m_client);
    btnClearAll->setGeometry(136, 216, 105, 33);
    connect(btnAdd, &QPushButton::clicked, this, [this] { m_files.btnAddClick(this); });
    connect(btnClearAll, &QPushButton::clicked, this, [this] { m_files.btnClearAllClick(this); });

    lblStatusFileNumber = statusLabel(m_client, 264);
    lblStatusPercent = statusLabel(m_client, 288);
    lblStatusFileName = statusLabel(m_client, 312);
    lblStatusSpeed = statusLabel(m_client, 336);
    lblStatusRemainingTime = statusLabel(m_client, 360);

    ImageProgress = new ProgressImage(m_client);
    ImageProgress->setGeometry(25, 393, 214, 24);

    cbAutoMode = new QCheckBox(u"Auto-läge"_s, m_client);
    cbAutoMode->setGeometry(24, 432, 105, 17);
    cbAutoMode->setChecked(true);
    cbOverwrite = new QCheckBox(u"Skriv över"_s, m_client);
    cbOverwrite->setGeometry(136, 432, 105, 17);
    connect(cbAutoMode, &QCheckBox::toggled, this, &TfrmMain::cbAutoModeClick);

    lblAuto = new QLabel(m_client);
    lblAuto->setGeometry(24, 464, 105, 20);
    btnSend = new QPushButton(QIcon(u":/sender/icons/send.svg"_s), u"Skicka"_s, m_client);
    btnSend->setGeometry(136, 464, 105, 33);
    btnSend->setIconSize(QSize(16, 16));
    btnSend->setDefault(true);
    connect(btnSend, &QPushButton::clicked, this, &TfrmMain::btnSendClick);

    for (QPushButton* button : {btnAdd, btnClearAll})
        button->setAutoDefault(false);
    setTabOrder(txtRemoteHost, txtPort);
    setTabOrder(txtPort, txtPassword);
    setTabOrder(txtPassword, lbFiles);
    setTabOrder(lbFiles, btnAdd);
    setTabOrder(btnAdd, btnClearAll);
    setTabOrder(btnClearAll, cbAutoMode);
    setTabOrder(cbAutoMode, cbOverwrite);
    setTabOrder(cbOverwrite, btnSend);
}

void TfrmMain::FormCreate()
{
    if (!toolkit::IsSwedish()) {
        setWindowTitle(applicationTitle());
        lblRemoteHost->setText(u"Remote Host:"_s);
        lblPort->setText(u"Port:"_s);
        lblPassword->setText(u"Password:"_s);
        lblFiles->setText(u"File(s):"_s);
        btnAdd->setText(u"+ Add"_s);
        btnClearAll->setText(u"Clear all"_s);
        btnSend->setText(u"Send"_s);
        cbAutoMode->setText(u"Auto Mode"_s);
        cbOverwrite->setText(u"Overwrite"_s);
    }
    for (QLabel* l : {lblRemoteHost, lblPort, lblPassword, lblFiles})
        l->adjustSize();

    if (!toolkit::HasSwitch(u"/ALLOWSLEEP"_s)) {
        toolkit::KeepAwake();
        m_keptAwake = true;
    }
    DrawProgress();

    TrayIconMain = new toolkit::TrayPresence(*this, windowIcon(), applicationTitle());
    connect(TrayIconMain, &toolkit::TrayPresence::doubleClicked, this,
            &TfrmMain::TrayIconMainDblClick);

    txtRemoteHost->setText(
        toolkit::ReadSetting(kSection, u"RemoteHost"_s, txtRemoteHost->text(), m_settingsFile));
    txtPort->setText(toolkit::ReadSetting(kSection, u"Port"_s, txtPort->text(), m_settingsFile));
    txtPassword->setText(toolkit::ReadSetting(kSection, u"Password"_s, {}, m_settingsFile));
    cbAutoMode->setChecked(
        toolkit::ReadBoolSetting(kSection, u"AutoMode"_s, cbAutoMode->isChecked(), m_settingsFile));
    cbAutoModeClick();
    cbOverwrite->setChecked(toolkit::ReadBoolSetting(kSection, u"Overwrite"_s,
                                                     cbOverwrite->isChecked(), m_settingsFile));
}

void TfrmMain::FormDestroy()
{
    toolkit::WriteSetting(kSection, u"RemoteHost"_s, txtRemoteHost->text(), m_settingsFile);
    toolkit::WriteSetting(kSection, u"Port"_s, txtPort->text(), m_settingsFile);
    toolkit::WriteSetting(kSection, u"Password"_s, txtPassword->text(), m_settingsFile);
    toolkit::WriteBoolSetting(kSection, u"AutoMode"_s, cbAutoMode->isChecked(), m_settingsFile);
    toolkit::WriteBoolSetting(kSection, u"Overwrite"_s, cbOverwrite->isChecked(), m_settingsFile);
    if (m_keptAwake)
        toolkit::AllowSleep();
}

void TfrmMain::FormPaint(QPainter& painter)
{
    const toolkit::Canvas canvas = toolkit::CanvasOf(painter, *m_client);
    if (!toolkit::HasSwitch(u"/LINES"_s)) {
        toolkit::DrawControlFrame(canvas, ImageProgress->geometry(),
                                  toolkit::DarkerColor(canvas.colour, 40), 0);
        return;
    }
    toolkit::DrawEtchedGroove(canvas);
    for (const int y : {120, 256, 384, 424, 456})
        toolkit::DrawEtchedLine(canvas, 24, y, 240, y, true, 15);
    toolkit::DrawControlBevelShaded(canvas, ImageProgress->geometry(), false, 0, 15);
}

void TfrmMain::DrawProgress()
{
    sender::DrawProgress(*ImageProgress, m_client->palette().color(QPalette::Window));
}

void TfrmMain::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        toolkit::CentreOnScreen(*this);
        m_placed = true;
    }
    QMainWindow::showEvent(event);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    // Send is the default button: Enter in a field or the list presses it.
    if (event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && btnSend->isEnabled()) {
            btnSend->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::btnSendClick()
{
    if (m_batch)
        return;
    m_batchDone = false;
    m_batch.emplace([this] {
        sender::btnSendClick(*this);
        m_batchDone = true;
        postToWindow([this] { onBatchEnded(); });
    });
}

void TfrmMain::onBatchEnded()
{
    if (!m_batch || !m_batchDone)
        return;
    m_batch->join();
    m_batch.reset();
    Q_EMIT batchFinished();
    if (m_terminating)
        QCoreApplication::quit();
}

void TfrmMain::cbAutoModeClick()
{
    cbOverwrite->setEnabled(cbAutoMode->isChecked());
}

void TfrmMain::mnuMainFileQuitClick()
{
    close();
}

void TfrmMain::mnuMainHelpAboutClick()
{
    toolkit::ShowAboutBox(this, applicationTitle());
}

void TfrmMain::TrayIconMainDblClick()
{
    toolkit::BringForward(*this);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // The window goes at once; a running batch winds down, and the program
    // ends when it has.
    {
        const std::lock_guard lock(m_waitMutex);
        m_terminating = true;
    }
    m_terminatingChanged.notify_all();
    QMainWindow::closeEvent(event);
    if (!m_batch)
        QCoreApplication::quit();
}

template <typename Work> void TfrmMain::onWindowThread(Work work)
{
    if (QThread::currentThread() == thread())
        work();
    else
        QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
}

template <typename Work> void TfrmMain::postToWindow(Work work)
{
    QMetaObject::invokeMethod(this, work, Qt::QueuedConnection);
}

BatchInputs TfrmMain::inputs()
{
    BatchInputs result;
    onWindowThread([&] {
        result.remoteHost = txtRemoteHost->text();
        result.port = txtPort->text();
        result.password = txtPassword->text();
        for (int i = 0; i < lbFiles->count(); ++i)
            result.names.append(lbFiles->item(i)->text());
        result.filePaths = m_files.FilePaths();
        result.autoMode = cbAutoMode->isChecked();
        result.overwrite = cbOverwrite->isChecked();
    });
    return result;
}

void TfrmMain::showError(const QString& text)
{
    onWindowThread([&] { toolkit::ErrorBox(this, text); });
}

bool TfrmMain::confirmStart()
{
    bool yes = false;
    onWindowThread([&] { yes = toolkit::ConfirmBox(this); });
    return yes;
}

void TfrmMain::setBusy(bool busy)
{
    onWindowThread([&] {
        for (QWidget* control :
             std::initializer_list<QWidget*>{txtRemoteHost, txtPort, txtPassword, lbFiles, btnAdd,
                                             btnClearAll, btnSend, cbAutoMode})
            control->setEnabled(!busy);
        cbOverwrite->setEnabled(!busy && cbAutoMode->isChecked());
        if (busy)
            toolkit::BusyCursor();
        else
            toolkit::NormalCursor();
    });
}

void TfrmMain::showStatus(const StatusTexts& status)
{
    postToWindow([this, status] {
        lblStatusFileNumber->setText(status.fileNumber);
        lblStatusFileName->setText(status.fileName);
        lblStatusPercent->setText(status.percent);
        lblStatusSpeed->setText(status.speed);
        lblStatusRemainingTime->setText(status.remainingTime);
    });
}

void TfrmMain::showCountdown(const QString& text)
{
    postToWindow([this, text] { lblAuto->setText(text); });
}

void TfrmMain::showProgress(int percent)
{
    postToWindow([this, percent] {
        ImageProgress->Tag = percent;
        DrawProgress();
    });
}

bool TfrmMain::askOverwrite(const QString& question)
{
    bool overwrite = false;
    onWindowThread([&] {
        toolkit::BringForward(*this);
        overwrite = toolkit::ConfirmBox(this, question);
    });
    return overwrite;
}

bool TfrmMain::askRetry(const QString& question, const QString& caption)
{
    bool retry = false;
    onWindowThread([&] {
        toolkit::BringForward(*this);
        retry = toolkit::OkCancelBox(this, question, caption);
    });
    return retry;
}

void TfrmMain::showReport(const QString& text)
{
    onWindowThread([&] {
        toolkit::BringForward(*this);
        toolkit::InfoBox(this, text);
    });
}

bool TfrmMain::waitUnlessTerminating(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_waitMutex);
    return !m_terminatingChanged.wait_for(lock, duration, [this] { return m_terminating.load(); });
}

} // namespace sender
