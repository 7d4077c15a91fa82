#include "SystemClock.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <chrono>

namespace toolkit {

std::uint32_t TickNow()
{
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
    return static_cast<std::uint32_t>(ms);
}

QString ProgramPath()
{
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationFilePath();
#ifdef Q_OS_LINUX
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
#else
    return {};
#endif
}

} // namespace toolkit
