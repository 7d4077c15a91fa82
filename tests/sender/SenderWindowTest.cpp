#include "RecordingHost.h"

#include "protocol/Connection.h"
#include "protocol/TcpServer.h"
#include "receiver/ConnectionHandler.h"
#include "sender/FileList.h"
#include "sender/ProgressBar.h"
#include "sender/TfrmMain.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedPrompter.h"
#include "toolkit/FormToolz.h"
#include "toolkit/Settings.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using sender::ProgressImage;
using sender::TfrmMain;
using testing_support::processEventsUntil;
using testing_support::ScopedArguments;
using testing_support::ScriptedPrompter;
using toolkit::MessageAnswer;

static void initResources()
{
    Q_INIT_RESOURCE(sender);
}

namespace {

const QColor kFace(240, 240, 240);
const QColor kBackground(255, 255, 255); // the face a shade lighter
const QColor kFill(153, 255, 153);
const QColor kText(0, 102, 0);

// The filled width: the columns at the bar's middle row in the fill colour.
int filledWidth(const QImage& picture)
{
    int width = 0;
    for (int x = 0; x < picture.width(); ++x)
        if (picture.pixelColor(x, 1) == kFill)
            width = x + 1;
    return width;
}

bool hasText(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) == kText)
                return true;
    return false;
}

TEST(ProgressPicture, FillRoundsHalfToEvenAndTextIsCentred)
{
    const QSize size(214, 24);
    const struct
    {
        int tag;
        int fill;
        bool text;
    } cases[] = {{0, 0, false},    {1, 2, true},    {25, 54, true},
                 {50, 107, true},  {75, 160, true}, {99, 212, true},
                 {100, 214, true}, {101, 0, false}, {-1, 0, false}};
    for (const auto& c : cases) {
        const QImage picture = sender::ProgressPicture(size, c.tag, kFace);
        EXPECT_EQ(filledWidth(picture), c.fill) << c.tag;
        EXPECT_EQ(hasText(picture), c.text) << c.tag;
        EXPECT_EQ(picture.pixelColor(213, 23), c.tag == 100 ? kFill : kBackground) << c.tag;
    }
    // The text sits around the middle of the whole bar, not of the fill.
    const QImage picture = sender::ProgressPicture(size, 10, kFace);
    int left = 1000, right = -1;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 214; ++x)
            if (picture.pixelColor(x, y) != kBackground && picture.pixelColor(x, y) != kFill) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_LE(std::abs((left + right) / 2 - 107), 3);
}

TEST(DrawProgress, SkipsWhatIsShownAndNarrowImages)
{
    ProgressImage image;
    image.resize(214, 24);
    image.Tag = 42;
    EXPECT_TRUE(sender::DrawProgress(image, kFace));
    EXPECT_FALSE(sender::DrawProgress(image, kFace)); // already shows 42
    image.Tag = 100;
    EXPECT_TRUE(sender::DrawProgress(image, kFace));
    EXPECT_TRUE(sender::DrawProgress(image, kFace)); // 0 and 100 always draw
    image.Tag = 0;
    EXPECT_TRUE(sender::DrawProgress(image, kFace));
    EXPECT_TRUE(sender::DrawProgress(image, kFace));
    EXPECT_EQ(filledWidth(image.pixmap().toImage()), 0);

    ProgressImage narrow;
    narrow.resize(99, 24);
    narrow.Tag = 50;
    EXPECT_FALSE(sender::DrawProgress(narrow, kFace));
    EXPECT_EQ(narrow.LastPercent, 0);
    EXPECT_TRUE(narrow.pixmap().isNull());
}

TEST(FileList, AddsInOrderAndClearsAfterTheQuestion)
{
    const ScopedArguments english({u"/ENGLISH"_s});
    ScriptedPrompter prompter;
    QListWidget list;
    sender::FileList files(list);
    files.btnClearAllClick(nullptr); // empty: nothing asked
    EXPECT_TRUE(prompter.messages.empty());

    prompter.answerFiles({u"/a/one.txt"_s, u"/b/two.bin"_s, u"/c/three"_s});
    files.btnAddClick(nullptr);
    prompter.answerFiles({u"/a/one.txt"_s});
    files.btnAddClick(nullptr);
    prompter.answerFiles({}); // cancelled
    files.btnAddClick(nullptr);
    ASSERT_EQ(prompter.fileRequests.size(), 3u);
    EXPECT_EQ(prompter.fileRequests[0].title, u"Choose one or more file(s)"_s);
    EXPECT_EQ(prompter.fileRequests[0].filter, u"* (*)"_s);
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.item(3)->text(), u"one.txt"_s);
    EXPECT_EQ(files.FilePaths(), u"/a/one.txt|/b/two.bin|/c/three|/a/one.txt"_s);

    prompter.answerMessage(MessageAnswer::Cancel);
    files.btnClearAllClick(nullptr);
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(prompter.messages.back().text, u"Clear all?"_s);
    EXPECT_EQ(prompter.messages.back().caption, u"Confirm"_s);
    prompter.answerMessage(MessageAnswer::Ok);
    files.btnClearAllClick(nullptr);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(files.FilePaths(), u""_s);
}

class SenderWindowTest : public testing::Test
{
protected:
    SenderWindowTest() { initResources(); }

    QString settingsFile() const { return m_folder.filePath(u"korvalla.INI"_s); }

    std::unique_ptr<TfrmMain> makeWindow(const QStringList& arguments = {u"/ENGLISH"_s})
    {
        m_arguments.emplace(arguments);
        return std::make_unique<TfrmMain>(settingsFile());
    }

    QString makeFile(const QString& name, const QByteArray& content) const
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QTemporaryDir m_folder;
    std::optional<ScopedArguments> m_arguments;
};

TEST_F(SenderWindowTest, FirstStartDefaultsAndSettingsKeptForTheNext)
{
    {
        auto window = makeWindow();
        EXPECT_EQ(window->txtRemoteHost->text(), u"127.0.0.1"_s);
        EXPECT_EQ(window->txtPort->text(), u"4520"_s);
        EXPECT_EQ(window->txtPassword->text(), u""_s);
        EXPECT_TRUE(window->cbAutoMode->isChecked());
        EXPECT_FALSE(window->cbOverwrite->isChecked());
        EXPECT_TRUE(window->cbOverwrite->isEnabled());
        window->txtRemoteHost->setText(u"fileserver.lan"_s);
        window->txtPassword->setText(u"pw"_s);
        window->cbAutoMode->setChecked(false);
        window->files().append(makeFile(u"f"_s, "f"));
    }
    EXPECT_EQ(toolkit::ReadSetting(u"Main"_s, u"RemoteHost"_s, {}, settingsFile()),
              u"fileserver.lan"_s);
    auto window = makeWindow();
    EXPECT_EQ(window->txtRemoteHost->text(), u"fileserver.lan"_s);
    EXPECT_EQ(window->txtPassword->text(), u"pw"_s);
    EXPECT_FALSE(window->cbAutoMode->isChecked());
    EXPECT_FALSE(window->cbOverwrite->isEnabled()); // a stored false AutoMode
    EXPECT_EQ(window->lbFiles->count(), 0);         // the list is not kept
}

TEST_F(SenderWindowTest, AStoredPortIsShownAsItIs)
{
    toolkit::WriteSetting(u"Main"_s, u"Port"_s, u"45x"_s, settingsFile());
    auto window = makeWindow();
    EXPECT_EQ(window->txtPort->text(), u"45x"_s);
    window->txtPort->clear();
    for (const QChar c : u"4a5"_s) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(window->txtPort, &press);
    }
    EXPECT_EQ(window->txtPort->text(), u"45"_s); // typing takes digits only
}

TEST_F(SenderWindowTest, CaptionsInBothLanguages)
{
    const struct
    {
        QString language;
        QStringList texts;
    } cases[] = {
        {u"/SWEDISH"_s,
         {u"Korvalla 4.50"_s, u"Arkiv"_s, u"Avsluta"_s, u"Hjälp"_s, u"Om"_s, u"Värddator:"_s,
          u"Port:"_s, u"Lösenord:"_s, u"Fil(er):"_s, u"+ Lägg till"_s, u"Rensa allt"_s, u"Skicka"_s,
          u"Auto-läge"_s, u"Skriv över"_s}},
        {u"/ENGLISH"_s,
         {u"Tellvik 4.50"_s, u"File"_s, u"Quit"_s, u"Help"_s, u"About"_s, u"Remote Host:"_s,
          u"Port:"_s, u"Password:"_s, u"File(s):"_s, u"+ Add"_s, u"Clear all"_s, u"Send"_s,
          u"Auto Mode"_s, u"Overwrite"_s}},
    };
    for (const auto& c : cases) {
        auto window = makeWindow({c.language});
        const auto menus = window->menuBar()->actions();
        const QStringList texts{window->windowTitle(),
                                menus[0]->text(),
                                window->mnuMainFileQuit->text(),
                                menus[1]->text(),
                                window->mnuMainHelpAbout->text(),
                                window->lblRemoteHost->text(),
                                window->lblPort->text(),
                                window->lblPassword->text(),
                                window->lblFiles->text(),
                                window->btnAdd->text(),
                                window->btnClearAll->text(),
                                window->btnSend->text(),
                                window->cbAutoMode->text(),
                                window->cbOverwrite->text()};
        EXPECT_EQ(texts, c.texts);
    }
}

TEST_F(SenderWindowTest, LayoutAsDesigned)
{
    auto window = makeWindow();
    EXPECT_EQ(window->centralWidget()->size(), QSize(265, 521));
    EXPECT_EQ(window->txtRemoteHost->geometry(), QRect(24, 40, 153, 23));
    EXPECT_EQ(window->txtPort->geometry(), QRect(184, 40, 57, 23));
    EXPECT_EQ(window->txtPassword->geometry(), QRect(24, 88, 217, 23));
    EXPECT_EQ(window->txtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(window->lbFiles->geometry(), QRect(24, 144, 217, 65));
    EXPECT_EQ(window->btnAdd->geometry(), QRect(24, 216, 105, 33));
    EXPECT_EQ(window->btnClearAll->geometry(), QRect(136, 216, 105, 33));
    EXPECT_EQ(window->lblStatusFileNumber->geometry(), QRect(24, 264, 217, 20));
    EXPECT_EQ(window->lblStatusPercent->geometry(), QRect(24, 288, 217, 20));
    EXPECT_EQ(window->lblStatusFileName->geometry(), QRect(24, 312, 217, 20));
    EXPECT_EQ(window->lblStatusSpeed->geometry(), QRect(24, 336, 217, 20));
    EXPECT_EQ(window->lblStatusRemainingTime->geometry(), QRect(24, 360, 217, 20));
    EXPECT_EQ(window->lblStatusFileName->textFormat(), Qt::PlainText);
    EXPECT_EQ(window->ImageProgress->geometry(), QRect(25, 393, 214, 24));
    EXPECT_EQ(window->cbAutoMode->geometry(), QRect(24, 432, 105, 17));
    EXPECT_EQ(window->cbOverwrite->geometry(), QRect(136, 432, 105, 17));
    EXPECT_EQ(window->lblAuto->geometry(), QRect(24, 464, 105, 20));
    EXPECT_EQ(window->btnSend->geometry(), QRect(136, 464, 105, 33));
    EXPECT_FALSE(window->btnSend->icon().isNull());
    EXPECT_TRUE(window->btnSend->isDefault());
    EXPECT_EQ(window->ImageProgress->LastPercent, 0);
    EXPECT_FALSE(window->ImageProgress->pixmap().isNull()); // drawn once at creation
}

TEST_F(SenderWindowTest, FrameAroundTheBarOrTheLines)
{
    for (const bool lines : {false, true}) {
        auto window = makeWindow(lines ? QStringList{u"/ENGLISH"_s, u"/LINES"_s}
                                       : QStringList{u"/ENGLISH"_s});
        window->show();
        const QImage client = window->centralWidget()->grab().toImage();
        const QColor face = window->centralWidget()->palette().color(QPalette::Window);
        const QColor dark15 = toolkit::DarkerColor(face, 15);
        const QColor light15 = toolkit::LighterColor(face, 15);
        if (!lines) {
            const QColor dark40 = toolkit::DarkerColor(face, 40);
            EXPECT_EQ(client.pixelColor(24, 392), dark40);
            EXPECT_EQ(client.pixelColor(239, 417), dark40);
            EXPECT_EQ(client.pixelColor(100, 392), dark40);
            EXPECT_EQ(client.pixelColor(8, 100), face);
            EXPECT_EQ(client.pixelColor(100, 120), face);
        } else {
            EXPECT_EQ(client.pixelColor(8, 100), dark15);
            EXPECT_EQ(client.pixelColor(9, 100), light15);
            for (const int y : {120, 256, 384, 424, 456}) {
                EXPECT_EQ(client.pixelColor(100, y), dark15) << y;
                EXPECT_EQ(client.pixelColor(100, y + 1), light15) << y;
                EXPECT_EQ(client.pixelColor(240, y), face) << y;
            }
            EXPECT_EQ(client.pixelColor(100, 392), dark15);  // sunken: dark on top
            EXPECT_EQ(client.pixelColor(100, 417), light15); // light at the bottom
        }
    }
}

TEST_F(SenderWindowTest, EnterInAFieldPressesSend)
{
    ScriptedPrompter prompter;
    auto window = makeWindow();
    bool finished = false;
    QObject::connect(window.get(), &TfrmMain::batchFinished, window.get(),
                     [&] { finished = true; });
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window->txtRemoteHost, &enter);
    ASSERT_TRUE(processEventsUntil([&] { return finished; }));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, u"Specify a password."_s);
}

// The whole batch through the window: labels, controls and report on the
// window's thread while the worker sends to a real receiver.
TEST_F(SenderWindowTest, SendsAndReportsThroughTheWindow)
{
    QTemporaryDir destination;
    testing_support::RecordingHost host(destination.path(), u"pw"_s);
    protocol::TcpServer server(
        [&](protocol::Connection& c) { receiver::tcpServerExecute(host, c); });
    ASSERT_TRUE(server.start(0));

    ScriptedPrompter prompter;
    prompter.answerMessage(MessageAnswer::Yes); // Continue?
    bool busySeen = false;
    auto window = makeWindow();
    prompter.onMessage([&](const toolkit::MessageRequest& request) {
        if (request.icon == toolkit::MessageIcon::Information)
            busySeen = !window->btnSend->isEnabled() && !window->cbOverwrite->isEnabled();
    });
    prompter.answerMessage(MessageAnswer::Ok); // the report
    window->txtPort->setText(QString::number(server.port()));
    window->txtPassword->setText(u"pw"_s);
    window->files().append(makeFile(u"a.bin"_s, QByteArray(200000, 'a')));
    window->files().append(makeFile(u"b.bin"_s, "b"));
    bool finished = false;
    QObject::connect(window.get(), &TfrmMain::batchFinished, window.get(),
                     [&] { finished = true; });
    window->btnSend->click();
    ASSERT_TRUE(processEventsUntil([&] { return finished; }));

    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text, u"Continue?"_s);
    EXPECT_TRUE(prompter.messages[1].text.startsWith(u"Done! The operation was started "_s));
    EXPECT_FALSE(busySeen); // the report comes after the controls are back
    EXPECT_TRUE(window->btnSend->isEnabled());
    EXPECT_TRUE(window->cbOverwrite->isEnabled());
    EXPECT_EQ(window->lblStatusFileNumber->text(), u""_s);
    EXPECT_EQ(window->ImageProgress->Tag, 0);
    QFile a(destination.filePath(u"127.0.0.1/a.bin"_s));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), QByteArray(200000, 'a'));
}

TEST_F(SenderWindowTest, ClosingDuringACountdownEndsTheBatchWithoutTheReport)
{
    protocol::TcpServer refusing([](protocol::Connection&) {});
    ASSERT_TRUE(refusing.start(0));
    ScriptedPrompter prompter;
    prompter.answerMessage(MessageAnswer::Yes);
    auto window = makeWindow();
    window->show();
    window->txtPort->setText(QString::number(refusing.port()));
    window->txtPassword->setText(u"pw"_s);
    window->files().append(makeFile(u"c.bin"_s, "c"));
    bool finished = false;
    QObject::connect(window.get(), &TfrmMain::batchFinished, window.get(),
                     [&] { finished = true; });
    window->btnSend->click();
    ASSERT_TRUE(processEventsUntil([&] { return window->lblAuto->text() == u"Auto, 5 sec..."_s; }));
    window->close();
    EXPECT_FALSE(window->isVisible()); // gone at once
    ASSERT_TRUE(processEventsUntil([&] { return finished; }, std::chrono::seconds(5)));
    EXPECT_EQ(prompter.messages.size(), 1u); // no report
    EXPECT_EQ(window->lblAuto->text(), u""_s);
}

TEST_F(SenderWindowTest, AboutBoxNamesTheProgram)
{
    ScriptedPrompter prompter;
    prompter.answerMessage(MessageAnswer::Ok);
    auto window = makeWindow();
    window->mnuMainHelpAboutClick();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, u"About Tellvik 4.50"_s);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(u"Created by "_s));
}

} // namespace
