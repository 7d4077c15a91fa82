#include "HeadlessReceiver.h"
#include "TfrmMain.h"

#include "toolkit/CommandLine.h"
#include "toolkit/Environment.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const QStringList arguments = toolkit::ArgumentsOf(argc, argv);
    if (receiver::WantsHeadlessReceiver(arguments)) {
        // No window, no display.
        QCoreApplication app(argc, argv);
        toolkit::SetProgramArguments(arguments);
        return receiver::RunHeadlessReceiver(arguments);
    }

    Q_INIT_RESOURCE(receiver);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qrv"));
    toolkit::SetProgramArguments(QApplication::arguments().mid(1));

    receiver::TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
