#include "ProgramMenu.h"

#include "Language.h"
#include "MessageBoxes.h"

#include <QMainWindow>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace toolkit {
namespace {

const QString kAuthor = u"the Korvalla developers"_s;
const QString kWebAddress = u"https://korvalla.example.org"_s;

} // namespace

ProgramMenu AddProgramMenu(QMainWindow& window)
{
    const bool swedish = IsSwedish();
    ProgramMenu menu;
    menu.file = window.menuBar()->addMenu(LangText(swedish, u"Arkiv"_s, u"File"_s));
    menu.quit = menu.file->addAction(LangText(swedish, u"Avsluta"_s, u"Quit"_s));
    menu.quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    menu.help = window.menuBar()->addMenu(LangText(swedish, u"Hjälp"_s, u"Help"_s));
    menu.about = menu.help->addAction(LangText(swedish, u"Om"_s, u"About"_s));
    menu.about->setShortcut(QKeySequence(Qt::Key_F1));
    return menu;
}

void ShowAboutBox(QWidget* owner, const QString& applicationTitle)
{
    const bool swedish = IsSwedish();
    AboutBox(owner,
             LangText(swedish, u"Skapat av "_s, u"Created by "_s) + kAuthor + u". ("_s +
                 kWebAddress + u")"_s,
             LangText(swedish, u"Om"_s, u"About"_s) + u' ' + applicationTitle);
}

} // namespace toolkit
