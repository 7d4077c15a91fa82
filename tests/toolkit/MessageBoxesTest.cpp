#include "toolkit/MessageBoxes.h"

#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedPrompter.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolkit;
using testing_support::ScopedArguments;
using testing_support::ScriptedPrompter;

namespace {

struct BoxCase
{
    const char* name;
    std::function<void()> show;
    QString language;
    QString caption;
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
};

TEST(MessageBoxes, DefaultsByLanguage)
{
    const BoxCase cases[] = {
        {"error sv", [] { ErrorBox(nullptr, u""_s); }, u"/SWEDISH"_s, u"Fel"_s, u""_s,
         MessageIcon::Error, MessageButtons::Ok},
        {"error en", [] { ErrorBox(nullptr, u"x"_s); }, u"/ENGLISH"_s, u"Error"_s, u"x"_s,
         MessageIcon::Error, MessageButtons::Ok},
        {"error given", [] { ErrorBox(nullptr, u"x"_s, u"Mine"_s); }, u"/SWEDISH"_s, u"Mine"_s,
         u"x"_s, MessageIcon::Error, MessageButtons::Ok},
        {"info sv", [] { InfoBox(nullptr, u"i"_s); }, u"/SWEDISH"_s, u"Information"_s, u"i"_s,
         MessageIcon::Information, MessageButtons::Ok},
        {"info en", [] { InfoBox(nullptr, u"i"_s); }, u"/ENGLISH"_s, u"Information"_s, u"i"_s,
         MessageIcon::Information, MessageButtons::Ok},
        {"about sv", [] { AboutBox(nullptr, u"a"_s); }, u"/SWEDISH"_s, u"Om..."_s, u"a"_s,
         MessageIcon::Information, MessageButtons::Ok},
        {"about en", [] { AboutBox(nullptr, u"a"_s); }, u"/ENGLISH"_s, u"About..."_s, u"a"_s,
         MessageIcon::Information, MessageButtons::Ok},
        {"confirm sv", [] { ConfirmBox(nullptr); }, u"/SWEDISH"_s, u"Bekräfta"_s, u"Fortsätta?"_s,
         MessageIcon::Question, MessageButtons::YesNo},
        {"confirm en", [] { ConfirmBox(nullptr); }, u"/ENGLISH"_s, u"Confirm"_s, u"Continue?"_s,
         MessageIcon::Question, MessageButtons::YesNo},
        {"confirm given", [] { ConfirmBox(nullptr, u"Q"_s, u"C"_s); }, u"/ENGLISH"_s, u"C"_s,
         u"Q"_s, MessageIcon::Question, MessageButtons::YesNo},
        {"okcancel sv", [] { OkCancelBox(nullptr); }, u"/SWEDISH"_s, u"Bekräfta"_s, u"Fortsätta?"_s,
         MessageIcon::Information, MessageButtons::OkCancel},
        {"okcancel en", [] { OkCancelBox(nullptr, u"Clear all?"_s); }, u"/ENGLISH"_s, u"Confirm"_s,
         u"Clear all?"_s, MessageIcon::Information, MessageButtons::OkCancel},
    };
    for (const BoxCase& c : cases) {
        const ScopedArguments language({c.language});
        ScriptedPrompter prompter;
        c.show();
        ASSERT_EQ(prompter.messages.size(), 1u) << c.name;
        const MessageRequest& request = prompter.messages[0];
        EXPECT_EQ(request.caption, c.caption) << c.name;
        EXPECT_EQ(request.text, c.text) << c.name;
        EXPECT_EQ(request.icon, c.icon) << c.name;
        EXPECT_EQ(request.buttons, c.buttons) << c.name;
    }
}

TEST(MessageBoxes, QuestionsReturnTheAnswer)
{
    ScriptedPrompter prompter;
    prompter.answerMessage(MessageAnswer::Yes);
    prompter.answerMessage(MessageAnswer::No);
    prompter.answerMessage(MessageAnswer::Ok);
    prompter.answerMessage(MessageAnswer::Cancel);
    EXPECT_TRUE(ConfirmBox(nullptr));
    EXPECT_FALSE(ConfirmBox(nullptr));
    EXPECT_TRUE(OkCancelBox(nullptr));
    EXPECT_FALSE(OkCancelBox(nullptr));
}

// The real boxes: buttons, default button and the ways out.
QMessageBox& openBox(QWidget& modal)
{
    auto* box = qobject_cast<QMessageBox*>(&modal);
    EXPECT_NE(box, nullptr);
    return *box;
}

void pressEscape(QWidget& widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

TEST(RealMessageBoxes, OkCancelClosedCountsAsCancel)
{
    bool sawDefaultOk = false;
    testing_support::whenModalOpens([&](QWidget& modal) {
        QMessageBox& box = openBox(modal);
        sawDefaultOk = box.defaultButton() == box.button(QMessageBox::Ok);
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        box.close();
    });
    EXPECT_FALSE(OkCancelBox(nullptr, u"Retry?"_s, u"How would you do?"_s));
    EXPECT_TRUE(sawDefaultOk);

    testing_support::whenModalOpens([](QWidget& modal) { pressEscape(modal); });
    EXPECT_FALSE(OkCancelBox(nullptr));
    testing_support::whenModalOpens(
        [](QWidget& modal) { openBox(modal).button(QMessageBox::Ok)->click(); });
    EXPECT_TRUE(OkCancelBox(nullptr));
}

TEST(RealMessageBoxes, ConfirmOffersNoWayOutButYesOrNo)
{
    int refusals = 0;
    testing_support::whenModalOpens([&](QWidget& modal) {
        QMessageBox& box = openBox(modal);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Yes));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        pressEscape(box);
        box.close();
        refusals += box.isVisible() ? 1 : 0;
        box.button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(ConfirmBox(nullptr));
    EXPECT_EQ(refusals, 1);

    testing_support::whenModalOpens(
        [](QWidget& modal) { openBox(modal).button(QMessageBox::Yes)->click(); });
    EXPECT_TRUE(ConfirmBox(nullptr));
}

TEST(RealMessageBoxes, ErrorBoxShowsItsTextUnchanged)
{
    QString shown;
    testing_support::whenModalOpens([&](QWidget& modal) {
        QMessageBox& box = openBox(modal);
        shown = box.windowTitle() + u'|' + box.text();
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        box.button(QMessageBox::Ok)->click();
    });
    ErrorBox(nullptr, u"<b>Unable</b> & co"_s, u"Fel"_s);
    EXPECT_EQ(shown, u"Fel|<b>Unable</b> & co"_s);
}

} // namespace
