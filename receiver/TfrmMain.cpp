#include "TfrmMain.h"

#include "ConnectionHandler.h"
#include "PortArgument.h"
#include "TfrmPassword.h"

#include "protocol/Fields.h"
#include "toolkit/Environment.h"
#include "toolkit/Folders.h"
#include "toolkit/Fonts.h"
#include "toolkit/FormToolz.h"
#include "toolkit/Language.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PaintedArea.h"
#include "toolkit/Power.h"
#include "toolkit/ProgramMenu.h"
#include "toolkit/Settings.h"
#include "toolkit/TextFunctions.h"
#include "toolkit/TrayPresence.h"
#include "toolkit/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using toolkit::LangText;

namespace receiver {
namespace {

const QString kSection = u"Main"_s;

QString applicationTitle()
{
    return LangText(toolkit::IsSwedish(), u"Korvalla - Server 4.50"_s, u"Tellvik - Server 4.50"_s);
}

struct Column
{
    QString swedish;
    QString english;
    int width;
    Qt::Alignment alignment;
};

const Column kColumns[] = {
    {u"IP-adress"_s, u"IP Address"_s, 120, Qt::AlignLeft},
    {u"Filnamn"_s, u"Filename"_s, 240, Qt::AlignLeft},
    {u"Storlek"_s, u"Size"_s, 80, Qt::AlignRight},
    {u"Förlopp"_s, u"Progress"_s, 80, Qt::AlignLeft},
    {u"Hastighet"_s, u"Speed"_s, 80, Qt::AlignLeft},
    {u"Återstående tid"_s, u"Remaining time"_s, 80, Qt::AlignLeft},
};

QStringList columnTexts(const TransferRow& row)
{
    return {row.address, row.fileName, row.size, row.progress, row.speed, row.remainingTime};
}

} // namespace

TfrmMain::TfrmMain(const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent)
    , m_settingsFile(settingsFile)
    , m_tcpServer([this](protocol::Connection& connection) { tcpServerExecute(*this, connection); })
{
    buildWindow();
    FormCreate();
    frmPassword = new TfrmPassword(this, m_settingsFile);
}

TfrmMain::~TfrmMain()
{
    // The connections were cut when the window closed; a window destroyed
    // without closing cuts them here. Then wait for every handler, and only
    // after that let the lock go.
    m_tcpServer.disconnectAll();
    m_terminating = true;
    if (m_keptAwake)
        toolkit::AllowSleep();
    m_tcpServer.stop();
}

void TfrmMain::buildWindow()
{
    m_client = toolkit::SetUpMainWindow(*this, u"Korvalla - Server 4.50"_s,
                                        QIcon(u":/receiver/icons/qrv.svg"_s), QSize(769, 273));
    m_client->setPainter([this](QPainter& painter) { FormPaint(painter); });

    const toolkit::ProgramMenu menu = toolkit::AddProgramMenu(*this);
    mnuMainFile = menu.file;
    mnuMainFileQuit = menu.quit;
    mnuMainHelp = menu.help;
    mnuMainHelpAbout = menu.about;
    connect(mnuMainFileQuit, &QAction::triggered, this, &TfrmMain::mnuMainFileQuitClick);
    connect(mnuMainHelpAbout, &QAction::triggered, this, &TfrmMain::mnuMainHelpAboutClick);

    lblTransfers = new QLabel(u"Överföringar:"_s, m_client);
    lblTransfers->move(24, 24);

    lvTransfers = new QTreeWidget(m_client);
    lvTransfers->setGeometry(24, 40, 721, 161);
    lvTransfers->setRootIsDecorated(false);
    lvTransfers->setUniformRowHeights(true);
    lvTransfers->setItemsExpandable(false);
    lvTransfers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvTransfers->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvTransfers->setSelectionMode(QAbstractItemView::SingleSelection);
    lvTransfers->header()->setSectionsClickable(false);
    lvTransfers->header()->setSectionsMovable(false);
    lvTransfers->header()->setStretchLastSection(false);
    lvTransfers->setColumnCount(static_cast<int>(std::size(kColumns)));
    auto* header = new QTreeWidgetItem;
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        header->setText(i, kColumns[i].swedish);
        header->setTextAlignment(i, kColumns[i].alignment | Qt::AlignVCenter);
        lvTransfers->setColumnWidth(i, kColumns[i].width);
    }
    lvTransfers->setHeaderItem(header);

    lblDestinationFolder = new QLabel(u"Destinationsmapp:"_s, m_client);
    lblDestinationFolder->setGeometry(24, 216, 129, 17);

    txtDestinationFolder = new QLineEdit(m_client);
    txtDestinationFolder->setGeometry(168, 216, 361, 23);
    txtDestinationFolder->setReadOnly(true);
    txtDestinationFolder->setFont(toolkit::FixedFont());

    btnChange = new QPushButton(QIcon(u":/receiver/icons/folder.svg"_s), u"Ändra"_s, m_client);
    btnChange->setGeometry(544, 216, 97, 33);
    btnPassword = new QPushButton(QIcon(u":/receiver/icons/key.svg"_s), u"Lösenord"_s, m_client);
    btnPassword->setGeometry(648, 216, 97, 33);
    for (QPushButton* button : {btnChange, btnPassword}) {
        button->setIconSize(QSize(16, 16));
        button->setAutoDefault(false);
    }
    connect(btnChange, &QPushButton::clicked, this, &TfrmMain::btnChangeClick);
    connect(btnPassword, &QPushButton::clicked, this, &TfrmMain::btnPasswordClick);

    setTabOrder(lvTransfers, btnPassword);
    setTabOrder(btnPassword, btnChange);
    setTabOrder(btnChange, txtDestinationFolder);
}

void TfrmMain::FormCreate()
{
    if (!toolkit::IsSwedish()) {
        setWindowTitle(applicationTitle());
        lblTransfers->setText(u"Transfers:"_s);
        lblDestinationFolder->setText(u"Destination folder:"_s);
        for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
            lvTransfers->headerItem()->setText(i, kColumns[i].english);
        btnChange->setText(u"Change"_s);
        btnPassword->setText(u"Password"_s);
    }
    lblTransfers->adjustSize();

    if (!toolkit::HasSwitch(u"/ALLOWSLEEP"_s)) {
        toolkit::KeepAwake();
        m_keptAwake = true;
    }

    TrayIconMain = new toolkit::TrayPresence(*this, windowIcon(), applicationTitle());
    connect(TrayIconMain, &toolkit::TrayPresence::doubleClicked, this,
            &TfrmMain::TrayIconMainDblClick);

    m_transferListLock = std::make_unique<std::mutex>();

    const QString documents =
        toolkit::SpecialFolderPath(toolkit::SpecialFolder::Documents, QDir::homePath());
    setDestinationFolder(
        toolkit::ReadSetting(kSection, u"DestinationFolder"_s, documents, m_settingsFile));

    const std::uint16_t port = PortFromArguments(toolkit::ProgramArguments());
    if (!m_tcpServer.start(port)) {
        toolkit::ErrorBox(this, LangText(toolkit::IsSwedish(),
                                         u"Det gick inte att använda det angivna portnumret ("_s,
                                         u"Unable to use the specified port number ("_s) +
                                    toolkit::IntToText(port) + u")."_s);
    }

    setCurrentPassword(toolkit::ReadSetting(kSection, u"Password"_s, {}, m_settingsFile));
}

void TfrmMain::FormPaint(QPainter& painter)
{
    if (!toolkit::HasSwitch(u"/LINES"_s))
        return;
    const toolkit::Canvas canvas = toolkit::CanvasOf(painter, *m_client);
    toolkit::DrawEtchedGroove(canvas);
    toolkit::DrawEtchedLine(canvas, 24, 208, 744, 208, true, 15);
}

void TfrmMain::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        toolkit::CentreOnScreen(*this);
        m_placed = true;
    }
    QMainWindow::showEvent(event);
    // At every showing, also back from the tray: no password, no transfers.
    if (currentPassword().isEmpty())
        QTimer::singleShot(0, this, [this] {
            if (currentPassword().isEmpty() && isVisible())
                btnPasswordClick();
        });
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // No question, also with transfers running: every connection is cut now.
    m_tcpServer.disconnectAll();
    m_terminating = true;
    QMainWindow::closeEvent(event);
}

void TfrmMain::btnPasswordClick()
{
    if (m_askingPassword)
        return;
    m_askingPassword = true;
    if (frmPassword->exec() == QDialog::Accepted) {
        setCurrentPassword(frmPassword->txtPassword->text());
        toolkit::WriteSetting(kSection, u"Password"_s, currentPassword(), m_settingsFile);
    }
    m_askingPassword = false;
    lvTransfers->setFocus();
}

void TfrmMain::btnChangeClick()
{
    const QString chosen = toolkit::BrowseFolder(txtDestinationFolder->text(), {}, this);
    setDestinationFolder(toolkit::AddBackslash(chosen));
    toolkit::WriteSetting(kSection, u"DestinationFolder"_s, txtDestinationFolder->text(),
                          m_settingsFile);
    lvTransfers->setFocus();
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

QString TfrmMain::destinationFolder() const
{
    const std::lock_guard lock(m_sharedMutex);
    return m_destinationFolder;
}

QString TfrmMain::currentPassword() const
{
    const std::lock_guard lock(m_sharedMutex);
    return m_currentPassword;
}

void TfrmMain::setDestinationFolder(const QString& folder)
{
    txtDestinationFolder->setText(folder);
    const std::lock_guard lock(m_sharedMutex);
    m_destinationFolder = folder;
}

void TfrmMain::setCurrentPassword(const QString& password)
{
    const std::lock_guard lock(m_sharedMutex);
    m_currentPassword = password;
}

// The three calls below come from connection threads holding the transfer
// list lock. They post the change to this window's thread and return at
// once; posts made under the lock arrive in the order they were made.
RowId TfrmMain::addRow(const TransferRow& row)
{
    const RowId id = m_nextRowId++;
    QMetaObject::invokeMethod(
        this, [this, id, row] { appendRow(id, row); }, Qt::QueuedConnection);
    return id;
}

void TfrmMain::setRow(RowId id, const TransferRow& texts)
{
    QMetaObject::invokeMethod(
        this, [this, id, texts] { changeRow(id, texts); }, Qt::QueuedConnection);
}

void TfrmMain::showBalloon(const QString& title, const QString& text)
{
    QMetaObject::invokeMethod(
        this,
        [this, title, text] {
            TrayIconMain->showBalloon(title, text);
            Q_EMIT balloonShown(title, text);
        },
        Qt::QueuedConnection);
}

void TfrmMain::appendRow(RowId id, const TransferRow& row)
{
    Q_ASSERT(id == lvTransfers->topLevelItemCount());
    auto* item = new QTreeWidgetItem(lvTransfers, columnTexts(row));
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    lvTransfers->scrollToItem(item, QAbstractItemView::EnsureVisible);
}

void TfrmMain::changeRow(RowId id, const TransferRow& row)
{
    QTreeWidgetItem* item = lvTransfers->topLevelItem(id);
    if (item == nullptr)
        return;
    const QStringList texts = columnTexts(row);
    for (int column = 0; column < texts.size(); ++column)
        item->setText(column, texts[column]);
}

} // namespace receiver
