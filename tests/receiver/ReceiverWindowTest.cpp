#include "RecordingHost.h"
#include "ScriptedSender.h"

#include "protocol/Fields.h"
#include "protocol/TcpServer.h"
#include "receiver/PortArgument.h"
#include "receiver/TfrmMain.h"
#include "receiver/TfrmPassword.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedPrompter.h"
#include "support/WaitFor.h"
#include "toolkit/Folders.h"
#include "toolkit/FormToolz.h"
#include "toolkit/Settings.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using receiver::TfrmMain;
using receiver::TfrmPassword;
using testing_support::processEventsUntil;
using testing_support::ScopedArguments;
using testing_support::ScriptedPrompter;
using testing_support::ScriptedSender;
using testing_support::whenModalOpens;
using toolkit::MessageAnswer;

// The window's pictures live in the receiver's library.
static void initResources()
{
    Q_INIT_RESOURCE(receiver);
}

namespace {

const QString kPassword = u"hemligt"_s;

QByteArray patterned(qsizetype size, int seed = 0)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 31 + seed) & 0xFF);
    return bytes;
}

// A receiver window with a settings file and destination folder of its own,
// listening on a free port ("0" on the command line), in English.
class ReceiverWindowTest : public testing::Test
{
protected:
    ReceiverWindowTest()
    {
        initResources();
        toolkit::WriteSetting(u"Main"_s, u"DestinationFolder"_s, destination(), settingsFile());
        toolkit::WriteSetting(u"Main"_s, u"Password"_s, kPassword, settingsFile());
    }

    QString settingsFile() const { return m_folder.filePath(u"qrv.INI"_s); }
    QString destination() const { return m_folder.path() + u"/incoming/"_s; }

    std::unique_ptr<TfrmMain> makeWindow(const QStringList& arguments = {u"/ENGLISH"_s, u"0"_s})
    {
        m_arguments.emplace(arguments);
        QDir().mkpath(destination());
        return std::make_unique<TfrmMain>(settingsFile());
    }

    QTemporaryDir m_folder;
    std::optional<ScopedArguments> m_arguments;
};

TEST_F(ReceiverWindowTest, StartsWithTheStoredFolderAndPassword)
{
    ScriptedPrompter prompter;
    auto window = makeWindow();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->txtDestinationFolder->text(), destination());
    EXPECT_EQ(window->currentPassword(), kPassword);
    EXPECT_EQ(window->destinationFolder(), destination());
    EXPECT_TRUE(window->server().isListening());
    EXPECT_EQ(window->windowTitle(), u"Tellvik - Server 4.50"_s);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(window->passwordDialog().isVisible());
}

TEST_F(ReceiverWindowTest, WithoutSettingsTheDialogAsksAtEveryShowing)
{
    QFile::remove(settingsFile());
    ScriptedPrompter prompter;
    auto window = makeWindow();
    const QString documents =
        toolkit::SpecialFolderPath(toolkit::SpecialFolder::Documents, QDir::homePath());
    EXPECT_EQ(window->txtDestinationFolder->text(), documents);
    EXPECT_EQ(window->currentPassword(), u""_s);

    int asked = 0;
    whenModalOpens([&](QWidget& modal) {
        ++asked;
        auto& dialog = dynamic_cast<TfrmPassword&>(modal);
        dialog.txtPassword->setText(u"typed"_s);
        dialog.btnCancel->click();
    });
    window->show();
    ASSERT_TRUE(
        processEventsUntil([&] { return asked == 1 && !window->passwordDialog().isVisible(); }));
    EXPECT_EQ(window->currentPassword(), u""_s);
    EXPECT_FALSE(QFile::exists(settingsFile()));

    // Shown again (as from the tray): asked again, the typed text still there.
    QString kept;
    whenModalOpens([&](QWidget& modal) {
        ++asked;
        auto& dialog = dynamic_cast<TfrmPassword&>(modal);
        kept = dialog.txtPassword->text();
        dialog.btnOK->click();
    });
    window->hide();
    window->show();
    ASSERT_TRUE(
        processEventsUntil([&] { return asked == 2 && !window->passwordDialog().isVisible(); }));
    EXPECT_EQ(kept, u"typed"_s);
    EXPECT_EQ(window->currentPassword(), u"typed"_s);
    EXPECT_EQ(toolkit::ReadSetting(u"Main"_s, u"Password"_s, u"-"_s, settingsFile()), u"typed"_s);
}

TEST_F(ReceiverWindowTest, PasswordButtonOkCancelAndEmpty)
{
    auto window = makeWindow();
    const auto answer = [&](const QString& text, bool ok) {
        whenModalOpens([text, ok](QWidget& modal) {
            auto& dialog = dynamic_cast<TfrmPassword&>(modal);
            dialog.txtPassword->setText(text);
            (ok ? dialog.btnOK : dialog.btnCancel)->click();
        });
        window->btnPasswordClick();
    };
    answer(u"new one"_s, false);
    EXPECT_EQ(window->currentPassword(), kPassword);
    EXPECT_EQ(window->passwordDialog().txtPassword->text(), u"new one"_s);
    answer(u"new one"_s, true);
    EXPECT_EQ(window->currentPassword(), u"new one"_s);
    window->show();
    window->btnChange->setFocus();
    answer(u""_s, true);
    EXPECT_EQ(window->currentPassword(), u""_s);
    EXPECT_EQ(toolkit::ReadSetting(u"Main"_s, u"Password"_s, u"-"_s, settingsFile()), u""_s);
    EXPECT_EQ(window->focusWidget(), window->lvTransfers); // focus back on the list
}

TEST_F(ReceiverWindowTest, PasswordDialogKeysAndField)
{
    auto window = makeWindow();
    TfrmPassword& dialog = window->passwordDialog();
    EXPECT_EQ(dialog.txtPassword->maxLength(), 256);
    EXPECT_EQ(dialog.txtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.txtPassword->text(), kPassword); // read from the settings once
    EXPECT_TRUE(dialog.btnOK->isDefault());

    const auto press = [](QWidget& target, Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
    };
    whenModalOpens([&](QWidget&) { press(*dialog.txtPassword, Qt::Key_Return); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    whenModalOpens([&](QWidget&) { press(*dialog.txtPassword, Qt::Key_Escape); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    whenModalOpens([&](QWidget& modal) { modal.close(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

TEST_F(ReceiverWindowTest, PortInUseShowsTheErrorAndRunsOn)
{
    protocol::TcpServer occupant([](protocol::Connection&) {});
    ASSERT_TRUE(occupant.start(0));
    ScriptedPrompter prompter;
    prompter.answerMessage(MessageAnswer::Ok);
    auto window = makeWindow({u"/ENGLISH"_s, QString::number(occupant.port())});
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, u"Unable to use the specified port number ("_s +
                                             QString::number(occupant.port()) + u")."_s);
    EXPECT_EQ(prompter.messages[0].caption, u"Error"_s);
    EXPECT_EQ(prompter.messages[0].icon, toolkit::MessageIcon::Error);
    EXPECT_FALSE(window->server().isListening());

    // The window still works.
    prompter.answerFolder(m_folder.path() + u"/elsewhere"_s);
    window->btnChangeClick();
    EXPECT_EQ(window->txtDestinationFolder->text(), m_folder.path() + u"/elsewhere/"_s);
}

TEST_F(ReceiverWindowTest, SwedishPortErrorText)
{
    protocol::TcpServer occupant([](protocol::Connection&) {});
    ASSERT_TRUE(occupant.start(0));
    ScriptedPrompter prompter;
    auto window = makeWindow({u"/SWEDISH"_s, QString::number(occupant.port())});
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, u"Det gick inte att använda det angivna portnumret ("_s +
                                             QString::number(occupant.port()) + u")."_s);
    EXPECT_EQ(prompter.messages[0].caption, u"Fel"_s);
}

TEST(PortFromArguments, FirstAllDigitArgumentInSixteenBits)
{
    using receiver::PortFromArguments;
    EXPECT_EQ(PortFromArguments({}), 4520);
    EXPECT_EQ(PortFromArguments({u"/ENGLISH"_s, u"/LINES"_s}), 4520);
    EXPECT_EQ(PortFromArguments({u"abc"_s, u"6000"_s, u"7000"_s}), 6000);
    EXPECT_EQ(PortFromArguments({u"/ENGLISH"_s, u"5000"_s}), 5000);
    EXPECT_EQ(PortFromArguments({u"70000"_s}), 4464);
    EXPECT_EQ(PortFromArguments({u"99999999999"_s, u"5000"_s}), 4520);
    EXPECT_EQ(PortFromArguments({u"-1"_s, u"12a"_s, u" 80"_s, u"8080"_s}), 8080);
}

TEST_F(ReceiverWindowTest, ChangeWithCancelWritesTheSameFolder)
{
    ScriptedPrompter prompter;
    auto window = makeWindow();
    toolkit::WriteSetting(u"Main"_s, u"DestinationFolder"_s, u"changed meanwhile"_s,
                          settingsFile());
    prompter.answerFolder(std::nullopt);
    window->btnChangeClick();
    ASSERT_EQ(prompter.folderRequests.size(), 1u);
    EXPECT_EQ(prompter.folderRequests[0].startFolder, destination());
    EXPECT_EQ(prompter.folderRequests[0].title, u"Browse"_s);
    EXPECT_EQ(window->txtDestinationFolder->text(), destination());
    EXPECT_EQ(toolkit::ReadSetting(u"Main"_s, u"DestinationFolder"_s, {}, settingsFile()),
              destination());

    prompter.answerFolder(u"/srv/in"_s);
    window->btnChangeClick();
    EXPECT_EQ(window->destinationFolder(), u"/srv/in/"_s);
    EXPECT_EQ(toolkit::ReadSetting(u"Main"_s, u"DestinationFolder"_s, {}, settingsFile()),
              u"/srv/in/"_s);
}

TEST_F(ReceiverWindowTest, CaptionsInBothLanguages)
{
    struct Captions
    {
        QStringList arguments;
        QStringList texts;
    };
    const Captions cases[] = {
        {{u"/SWEDISH"_s, u"0"_s},
         {u"Korvalla - Server 4.50"_s, u"Arkiv"_s, u"Avsluta"_s, u"Hjälp"_s, u"Om"_s,
          u"Överföringar:"_s, u"Destinationsmapp:"_s, u"Ändra"_s, u"Lösenord"_s, u"IP-adress"_s,
          u"Filnamn"_s, u"Storlek"_s, u"Förlopp"_s, u"Hastighet"_s, u"Återstående tid"_s,
          u"Lösenord"_s, u"Lösenord:"_s, u"OK"_s, u"Avbryt"_s}},
        {{u"/ENGLISH"_s, u"0"_s},
         {u"Tellvik - Server 4.50"_s, u"File"_s, u"Quit"_s, u"Help"_s, u"About"_s, u"Transfers:"_s,
          u"Destination folder:"_s, u"Change"_s, u"Password"_s, u"IP Address"_s, u"Filename"_s,
          u"Size"_s, u"Progress"_s, u"Speed"_s, u"Remaining time"_s, u"Password"_s, u"Password:"_s,
          u"OK"_s, u"Cancel"_s}},
    };
    for (const Captions& c : cases) {
        auto window = makeWindow(c.arguments);
        const auto menus = window->menuBar()->actions();
        QStringList texts{window->windowTitle(),
                          menus[0]->text(),
                          window->mnuMainFileQuit->text(),
                          menus[1]->text(),
                          window->mnuMainHelpAbout->text(),
                          window->lblTransfers->text(),
                          window->lblDestinationFolder->text(),
                          window->btnChange->text(),
                          window->btnPassword->text()};
        for (int i = 0; i < 6; ++i)
            texts.append(window->lvTransfers->headerItem()->text(i));
        TfrmPassword& dialog = window->passwordDialog();
        texts << dialog.windowTitle() << dialog.lblPassword->text() << dialog.btnOK->text()
              << dialog.btnCancel->text();
        EXPECT_EQ(texts, c.texts);
        window.reset();
    }
}

TEST_F(ReceiverWindowTest, LayoutAsDesigned)
{
    auto window = makeWindow();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->centralWidget()->size(), QSize(769, 273));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()); // fixed size
    EXPECT_EQ(window->lvTransfers->geometry(), QRect(24, 40, 721, 161));
    EXPECT_EQ(window->txtDestinationFolder->geometry(), QRect(168, 216, 361, 23));
    EXPECT_EQ(window->btnChange->geometry(), QRect(544, 216, 97, 33));
    EXPECT_EQ(window->btnPassword->geometry(), QRect(648, 216, 97, 33));
    EXPECT_EQ(window->lblDestinationFolder->geometry(), QRect(24, 216, 129, 17));
    EXPECT_TRUE(window->txtDestinationFolder->isReadOnly());
    EXPECT_EQ(window->btnChange->iconSize(), QSize(16, 16));
    EXPECT_FALSE(window->btnChange->icon().isNull());
    EXPECT_FALSE(window->btnPassword->icon().isNull());
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->mnuMainFileQuit->shortcut(), QKeySequence(u"Ctrl+Q"_s));
    EXPECT_EQ(window->mnuMainHelpAbout->shortcut(), QKeySequence(Qt::Key_F1));
    const int widths[] = {120, 240, 80, 80, 80, 80};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(window->lvTransfers->columnWidth(i), widths[i]) << i;
    EXPECT_FALSE(window->lvTransfers->header()->sectionsClickable());
    EXPECT_EQ(window->lvTransfers->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(window->lvTransfers->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window->passwordDialog().txtPassword->parentWidget()->size(), QSize(249, 129));
}

QImage clientImage(TfrmMain& window)
{
    return window.centralWidget()->grab().toImage();
}

TEST_F(ReceiverWindowTest, LinesOnlyWithTheSwitch)
{
    auto plain = makeWindow({u"/ENGLISH"_s, u"0"_s});
    plain->show();
    const QImage without = clientImage(*plain);
    const QColor face = plain->centralWidget()->palette().color(QPalette::Window);
    for (const QPoint p : {QPoint(300, 8), QPoint(8, 100), QPoint(300, 208), QPoint(300, 209),
                           QPoint(300, 264), QPoint(760, 100)})
        EXPECT_EQ(without.pixelColor(p), face) << p.x() << "," << p.y();
    plain.reset();

    auto lined = makeWindow({u"/ENGLISH"_s, u"/lines"_s, u"0"_s});
    lined->show();
    const QImage with = clientImage(*lined);
    const QColor dark = toolkit::DarkerColor(face, 15);
    const QColor light = toolkit::LighterColor(face, 15);
    EXPECT_EQ(with.pixelColor(300, 8), dark);
    EXPECT_EQ(with.pixelColor(8, 100), dark);
    EXPECT_EQ(with.pixelColor(300, 9), light);
    EXPECT_EQ(with.pixelColor(9, 100), light);
    EXPECT_EQ(with.pixelColor(300, 273 - 10), dark);
    EXPECT_EQ(with.pixelColor(300, 273 - 9), light);
    EXPECT_EQ(with.pixelColor(769 - 10, 100), dark);
    EXPECT_EQ(with.pixelColor(769 - 9, 100), light);
    EXPECT_EQ(with.pixelColor(24, 208), dark);
    EXPECT_EQ(with.pixelColor(743, 208), dark);
    EXPECT_EQ(with.pixelColor(300, 209), light);
    EXPECT_EQ(with.pixelColor(744, 208), face);
    EXPECT_EQ(with.pixelColor(23, 208), face);
}

TEST_F(ReceiverWindowTest, TransfersShowAsRowsAndABalloon)
{
    auto window = makeWindow();
    std::vector<std::pair<QString, QString>> balloons;
    QObject::connect(
        window.get(), &TfrmMain::balloonShown, window.get(),
        [&](const QString& title, const QString& text) { balloons.emplace_back(title, text); });
    const auto delivery = testing_support::deliver(window->server().port(), kPassword,
                                                   u"photo.jpg"_s, patterned(3000));
    EXPECT_EQ(delivery.completion, u"OK!"_s);
    EXPECT_THROW(testing_support::deliver(window->server().port(), kPassword, u"sub/x"_s, "a"),
                 protocol::ConnectionError);
    ASSERT_TRUE(processEventsUntil([&] {
        return window->lvTransfers->topLevelItemCount() == 2 &&
               window->lvTransfers->topLevelItem(1)->text(3) == u"N/A"_s && !balloons.empty();
    }));
    const QTreeWidgetItem* done = window->lvTransfers->topLevelItem(0);
    EXPECT_EQ(
        (QStringList{done->text(0), done->text(1), done->text(2), done->text(3), done->text(4),
                     done->text(5)}),
        (QStringList{u"127.0.0.1"_s, u"photo.jpg"_s, u"2.93 kB"_s, u"Done!"_s, u""_s, u""_s}));
    EXPECT_EQ(done->textAlignment(2) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(balloons, (std::vector<std::pair<QString, QString>>{
                            {u"Information"_s, u"The file \"photo.jpg\" is now transferred."_s}}));
    QFile file(destination() + u"127.0.0.1/photo.jpg"_s);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), patterned(3000));
}

// Closing cuts every connection at once and waits for every handler; no
// deadlock with many transfers running, and what arrived stays on disk.
TEST_F(ReceiverWindowTest, ClosingWhileTwentyTransfersRun)
{
    for (int round = 0; round < 3; ++round) {
        auto window = makeWindow();
        window->show();
        constexpr int kSenders = 20;
        std::vector<std::unique_ptr<ScriptedSender>> senders;
        for (int i = 0; i < kSenders; ++i) {
            auto sender = std::make_unique<ScriptedSender>(window->server().port());
            sender->readGreeting();
            const QString name = u"part-%1-%2"_s.arg(round).arg(i);
            sender->announce(kPassword, name, 1 << 24);
            sender->chooseWriteMode(protocol::kWriteFromStart);
            sender->sendData(patterned(5000, i), 0, 5000);
            senders.push_back(std::move(sender));
        }
        ASSERT_TRUE(processEventsUntil(
            [&] { return window->lvTransfers->topLevelItemCount() == kSenders; }));
        for (int i = 0; i < kSenders; ++i) {
            const QString path = destination() + u"127.0.0.1/part-%1-%2"_s.arg(round).arg(i);
            ASSERT_TRUE(testing_support::pollUntil([&] { return QFileInfo(path).size() == 5000; }));
        }

        window->close();
        window.reset(); // joins every connection thread
        for (int i = 0; i < kSenders; ++i) {
            EXPECT_THROW(senders[static_cast<std::size_t>(i)]->connection().readByte(),
                         protocol::ConnectionError);
            const QString path = destination() + u"127.0.0.1/part-%1-%2"_s.arg(round).arg(i);
            EXPECT_EQ(QFileInfo(path).size(), 5000) << "partial file kept";
        }
    }
}

TEST_F(ReceiverWindowTest, MinimiseWithoutATrayMinimises)
{
    auto window = makeWindow();
    window->show();
    window->showMinimized();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible()); // no tray here: hiding would lose the window
    window->TrayIconMainDblClick();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(ReceiverWindowTest, AboutBoxNamesTheProgram)
{
    ScriptedPrompter prompter;
    prompter.answerMessage(MessageAnswer::Ok);
    auto window = makeWindow();
    window->mnuMainHelpAboutClick();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, u"About Tellvik - Server 4.50"_s);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(u"Created by "_s));
    EXPECT_TRUE(prompter.messages[0].text.contains(u". (http"_s));
    EXPECT_TRUE(prompter.messages[0].text.endsWith(u")"_s));
}

} // namespace
