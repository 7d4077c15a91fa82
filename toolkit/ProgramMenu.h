#pragma once

#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace toolkit {

// The menu both programs share: File > Quit (Ctrl+Q), Help > About (F1).
struct ProgramMenu
{
    QMenu* file = nullptr;
    QAction* quit = nullptr;
    QMenu* help = nullptr;
    QAction* about = nullptr;
};

// Adds the menu with its captions in the interface language.
ProgramMenu AddProgramMenu(QMainWindow& window);

// The About box: "About <title>" over the credit line.
void ShowAboutBox(QWidget* owner, const QString& applicationTitle);

} // namespace toolkit
