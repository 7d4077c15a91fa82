#include "TfrmMain.h"

#include "toolkit/Environment.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    Q_INIT_RESOURCE(receiver);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qrv"));
    toolkit::SetProgramArguments(QApplication::arguments().mid(1));

    receiver::TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
