#include "TfrmMain.h"

#include "toolkit/Environment.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    Q_INIT_RESOURCE(sender);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvalla"));
    // Closing the window ends the program once a running batch has wound down.
    QApplication::setQuitOnLastWindowClosed(false);
    toolkit::SetProgramArguments(QApplication::arguments().mid(1));

    sender::TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
