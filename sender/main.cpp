#include "CommandLineSend.h"
#include "TfrmMain.h"

#include "toolkit/CommandLine.h"
#include "toolkit/Environment.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const QStringList arguments = toolkit::ArgumentsOf(argc, argv);
    if (sender::WantsCommandLineSend(arguments)) {
        // No window, no display.
        QCoreApplication app(argc, argv);
        toolkit::SetProgramArguments(arguments);
        return sender::RunCommandLineSend(arguments);
    }

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
