#pragma once

#include <QLocale>
#include <QStringList>

namespace testing_support {

// Sets the program's arguments for one test and puts back the old ones.
class ScopedArguments
{
public:
    explicit ScopedArguments(const QStringList& arguments);
    ~ScopedArguments();
    ScopedArguments(const ScopedArguments&) = delete;
    ScopedArguments& operator=(const ScopedArguments&) = delete;

private:
    QStringList m_saved;
};

// Sets the user's regional settings for one test.
class ScopedLocale
{
public:
    explicit ScopedLocale(const QLocale& locale);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    QLocale m_saved;
};

} // namespace testing_support
