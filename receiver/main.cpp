#include "HeadlessReceiver.h"
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
