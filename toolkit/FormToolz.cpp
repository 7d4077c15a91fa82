#include "FormToolz.h"

#include <QCursor>
#include <QGuiApplication>

namespace toolkit {

void PumpMessages()
{
    QCoreApplication::processEvents();
}

void BusyCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void NormalCursor()
{
    while (QGuiApplication::overrideCursor() != nullptr)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace toolkit
