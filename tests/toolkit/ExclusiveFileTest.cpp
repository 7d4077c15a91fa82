#include "toolkit/ExclusiveFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using toolkit::ExclusiveFile;
using Mode = toolkit::ExclusiveFile::Mode;

namespace {

class ExclusiveFileTest : public testing::Test
{
protected:
    QString path(const QString& name) const { return m_folder.filePath(name); }

    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray contents(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_folder;
};

TEST_F(ExclusiveFileTest, OverwriteEmptiesAnExistingFile)
{
    writeFile(u"f"_s, "old contents that are long");
    {
        auto file = ExclusiveFile::open(path(u"f"_s), Mode::Overwrite);
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->writeAll("new", 3));
    }
    EXPECT_EQ(contents(u"f"_s), "new");
}

TEST_F(ExclusiveFileTest, ContinueAppendsAndNeedsTheFile)
{
    EXPECT_FALSE(ExclusiveFile::open(path(u"absent"_s), Mode::Continue));
    writeFile(u"f"_s, "abc");
    {
        auto file = ExclusiveFile::open(path(u"f"_s), Mode::Continue);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->size(), 3);
        ASSERT_TRUE(file->writeAll("def", 3));
    }
    EXPECT_EQ(contents(u"f"_s), "abcdef");
}

TEST_F(ExclusiveFileTest, OneHolderPerPathAlsoThroughAnotherSpelling)
{
    auto first = ExclusiveFile::open(path(u"f"_s), Mode::Overwrite);
    ASSERT_TRUE(first);
    ASSERT_TRUE(first->writeAll("keep", 4));
    const QString otherSpelling = m_folder.path() + u"/./f"_s;
    EXPECT_FALSE(ExclusiveFile::open(otherSpelling, Mode::Overwrite));
    EXPECT_FALSE(ExclusiveFile::open(path(u"f"_s), Mode::Continue));
    first.reset();
    EXPECT_EQ(contents(u"f"_s), "keep"); // the refused holder emptied nothing
    EXPECT_TRUE(ExclusiveFile::open(path(u"f"_s), Mode::Continue));
}

TEST_F(ExclusiveFileTest, NeverFollowsALinkAtTheTarget)
{
    writeFile(u"outside"_s, "precious");
    ASSERT_TRUE(QFile::link(path(u"outside"_s), path(u"link"_s)));
    EXPECT_FALSE(ExclusiveFile::open(path(u"link"_s), Mode::Overwrite));
    EXPECT_FALSE(ExclusiveFile::open(path(u"link"_s), Mode::Continue));
    EXPECT_EQ(contents(u"outside"_s), "precious");
}

TEST_F(ExclusiveFileTest, FoldersAreNotFiles)
{
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(u"sub"_s));
    EXPECT_FALSE(ExclusiveFile::open(path(u"sub"_s), Mode::Overwrite));
    EXPECT_FALSE(ExclusiveFile::open(path(u"sub"_s), Mode::Read));
    EXPECT_FALSE(ExclusiveFile::open(u""_s, Mode::Overwrite));
}

TEST_F(ExclusiveFileTest, ReadsFromAnOffset)
{
    writeFile(u"f"_s, "0123456789");
    auto file = ExclusiveFile::open(path(u"f"_s), Mode::Read);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->seek(7));
    char bytes[8] = {};
    EXPECT_EQ(file->read(bytes, sizeof bytes), 3);
    EXPECT_EQ(QByteArray(bytes, 3), "789");
    EXPECT_EQ(file->read(bytes, sizeof bytes), 0);
}

} // namespace
