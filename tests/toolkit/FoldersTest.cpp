#include "toolkit/Folders.h"
#include "toolkit/Power.h"
#include "toolkit/TextFunctions.h"

#include "support/QtPrinters.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedPrompter.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolkit;
using testing_support::ScopedArguments;
using testing_support::ScriptedPrompter;

namespace {

TEST(SpecialFolderPath, DocumentsCreatedAndEndingInTheSeparator)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir(documents).removeRecursively();
    const QString path = SpecialFolderPath(SpecialFolder::Documents, u"/fallback"_s);
    EXPECT_EQ(path, documents + kPathSeparator);
    EXPECT_TRUE(QDir(documents).exists());
}

TEST(SpecialFolderPath, FallbackWhenTheFolderCannotBeMade)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir config;
    QFile blocker(config.filePath(u"blocker"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QFile dirs(config.filePath(u"user-dirs.dirs"_s));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(config.filePath(u"blocker/Documents"_s)) +
               "\"\n");
    dirs.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::Documents, u"/fallback"_s), u"/fallback/"_s);
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST(BrowseFolder, CancelGivesTheFolderPassedIn)
{
    const ScopedArguments swedish({u"/SWEDISH"_s});
    ScriptedPrompter prompter;
    prompter.answerFolder(std::nullopt);
    EXPECT_EQ(BrowseFolder(u"/no/such/folder"_s, {}), u"/no/such/folder/"_s);
    ASSERT_EQ(prompter.folderRequests.size(), 1u);
    EXPECT_EQ(prompter.folderRequests[0].title, u"Bläddra"_s);
    EXPECT_EQ(prompter.folderRequests[0].startFolder, u"/no/such/folder"_s);
}

TEST(BrowseFolder, ChoiceEndsInOneSeparator)
{
    const ScopedArguments english({u"/ENGLISH"_s});
    ScriptedPrompter prompter;
    prompter.answerFolder(u"/srv/incoming"_s);
    prompter.answerFolder(u"/"_s);
    EXPECT_EQ(BrowseFolder(u"/home/"_s, {}), u"/srv/incoming/"_s);
    EXPECT_EQ(BrowseFolder(u"/home/"_s, {}), u"/"_s);
    EXPECT_EQ(prompter.folderRequests[0].title, u"Browse"_s);
}

TEST(SleepInhibitor, AllowSleepWithdrawsWhatKeepAwakeGot)
{
    // Where the system offers an inhibitor, it is held until AllowSleep;
    // where it offers none, both say so.
    const bool kept = KeepAwake();
    EXPECT_EQ(KeepAwake(), kept); // a second request changes nothing
    EXPECT_EQ(AllowSleep(), kept);
    EXPECT_FALSE(AllowSleep());
}

} // namespace
