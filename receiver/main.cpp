#include "toolkit/Environment.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    toolkit::SetProgramArguments(QApplication::arguments().mid(1));
    return 0;
}
