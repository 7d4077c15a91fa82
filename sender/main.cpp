#include "CommandLineSend.h"
#include "TfrmMain.h"

#include "toolkit/Environment.h"

#include <QApplication>

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    const QStringList arguments = argumentsOf(argc, argv);
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
