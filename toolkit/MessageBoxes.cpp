#include "MessageBoxes.h"

#include "Language.h"
#include "Prompts.h"

using namespace Qt::StringLiterals;

namespace toolkit {
namespace {

QString orDefault(const QString& given, const QString& swedish, const QString& english)
{
    return given.isEmpty() ? LangText(IsSwedish(), swedish, english) : given;
}

MessageAnswer ask(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon,
                  MessageButtons buttons)
{
    return CurrentPrompter().message(MessageRequest{owner, text, caption, icon, buttons});
}

} // namespace

void ErrorBox(QWidget* owner, const QString& text, const QString& caption)
{
    ask(owner, text, orDefault(caption, u"Fel"_s, u"Error"_s), MessageIcon::Error,
        MessageButtons::Ok);
}

void InfoBox(QWidget* owner, const QString& text, const QString& caption)
{
    ask(owner, text, orDefault(caption, u"Information"_s, u"Information"_s),
        MessageIcon::Information, MessageButtons::Ok);
}

void AboutBox(QWidget* owner, const QString& text, const QString& caption)
{
    ask(owner, text, orDefault(caption, u"Om..."_s, u"About..."_s), MessageIcon::Information,
        MessageButtons::Ok);
}

bool ConfirmBox(QWidget* owner, const QString& text, const QString& caption)
{
    return ask(owner, orDefault(text, u"Fortsätta?"_s, u"Continue?"_s),
               orDefault(caption, u"Bekräfta"_s, u"Confirm"_s), MessageIcon::Question,
               MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool OkCancelBox(QWidget* owner, const QString& text, const QString& caption)
{
    return ask(owner, orDefault(text, u"Fortsätta?"_s, u"Continue?"_s),
               orDefault(caption, u"Bekräfta"_s, u"Confirm"_s), MessageIcon::Information,
               MessageButtons::OkCancel) == MessageAnswer::Ok;
}

} // namespace toolkit
