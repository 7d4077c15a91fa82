#include "Environment.h"

#include <QCoreApplication>

#include <mutex>
#include <optional>

namespace toolkit {
namespace {

// The process's arguments and locale: written at start-up, read by every
// connection thread through the language and format functions.
struct ProgramEnvironment
{
    std::mutex mutex;
    std::optional<QStringList> arguments;
    std::optional<QLocale> locale;
};

ProgramEnvironment& environment()
{
    static ProgramEnvironment instance;
    return instance;
}

QLocale systemLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return system;
}

} // namespace

QStringList ProgramArguments()
{
    auto& env = environment();
    const std::lock_guard lock(env.mutex);
    if (!env.arguments) {
        QStringList arguments;
        if (QCoreApplication::instance() != nullptr)
            arguments = QCoreApplication::arguments().mid(1);
        env.arguments = arguments;
    }
    return *env.arguments;
}

void SetProgramArguments(const QStringList& arguments)
{
    auto& env = environment();
    const std::lock_guard lock(env.mutex);
    env.arguments = arguments;
}

QLocale UserLocale()
{
    auto& env = environment();
    const std::lock_guard lock(env.mutex);
    if (!env.locale)
        env.locale = systemLocale();
    return *env.locale;
}

void SetUserLocale(const QLocale& locale)
{
    auto& env = environment();
    const std::lock_guard lock(env.mutex);
    env.locale = locale;
}

} // namespace toolkit
