#include "ScopedEnvironment.h"

#include "toolkit/Environment.h"

namespace testing_support {

ScopedArguments::ScopedArguments(const QStringList& arguments)
    : m_saved(toolkit::ProgramArguments())
{
    toolkit::SetProgramArguments(arguments);
}

ScopedArguments::~ScopedArguments()
{
    toolkit::SetProgramArguments(m_saved);
}

ScopedLocale::ScopedLocale(const QLocale& locale)
    : m_saved(toolkit::UserLocale())
{
    toolkit::SetUserLocale(locale);
}

ScopedLocale::~ScopedLocale()
{
    toolkit::SetUserLocale(m_saved);
}

} // namespace testing_support
