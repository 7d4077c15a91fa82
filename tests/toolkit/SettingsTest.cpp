#include "toolkit/Settings.h"

#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolkit;

namespace {

class SettingsTest : public testing::Test
{
protected:
    QString file() const { return m_folder.filePath(u"qrv.INI"_s); }

    QString contents() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : u"<missing>"_s;
    }

    void store(const QByteArray& text) const
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir m_folder;
};

TEST_F(SettingsTest, WithoutAFileEveryReadGivesItsDefault)
{
    EXPECT_EQ(ReadSetting(u"Main"_s, u"Password"_s, u"dflt"_s, file()), u"dflt"_s);
    EXPECT_TRUE(ReadBoolSetting(u"Main"_s, u"AutoMode"_s, true, file()));
    EXPECT_FALSE(ReadBoolSetting(u"Main"_s, u"AutoMode"_s, false, file()));
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(SettingsTest, TextsAreStoredAsHexText)
{
    WriteSetting(u"Main"_s, u"Password"_s, u"abc"_s, file());
    EXPECT_EQ(contents(), u"[Main]\r\nPassword=006100620063\r\n"_s);
    EXPECT_EQ(ReadSetting(u"Main"_s, u"Password"_s, {}, file()), u"abc"_s);
    WriteSetting(u"Main"_s, u"DestinationFolder"_s, u"C:\\Mottaget\\ åäö"_s, file());
    EXPECT_EQ(ReadSetting(u"main"_s, u"destinationfolder"_s, {}, file()), u"C:\\Mottaget\\ åäö"_s);
}

TEST_F(SettingsTest, PresentButEmptyReadsEmpty)
{
    WriteSetting(u"Main"_s, u"Password"_s, u""_s, file());
    EXPECT_EQ(contents(), u"[Main]\r\nPassword=\r\n"_s);
    EXPECT_EQ(ReadSetting(u"Main"_s, u"Password"_s, u"dflt"_s, file()), u""_s);
}

TEST_F(SettingsTest, FlagsReadAsNumbers)
{
    const struct
    {
        QByteArray line;
        bool whenDefaultFalse;
        bool whenDefaultTrue;
    } cases[] = {
        {"AutoMode=1", true, true},    {"AutoMode=0", false, false}, {"AutoMode=0x10", true, true},
        {"AutoMode=yes", false, true}, {"AutoMode=", false, true},   {"Other=1", false, true},
    };
    for (const auto& c : cases) {
        store("[Main]\r\n" + c.line + "\r\n");
        EXPECT_EQ(ReadBoolSetting(u"Main"_s, u"AutoMode"_s, false, file()), c.whenDefaultFalse)
            << c.line.toStdString();
        EXPECT_EQ(ReadBoolSetting(u"Main"_s, u"AutoMode"_s, true, file()), c.whenDefaultTrue)
            << c.line.toStdString();
    }
    WriteBoolSetting(u"Main"_s, u"Overwrite"_s, true, file());
    WriteBoolSetting(u"Main"_s, u"AutoMode"_s, false, file());
    EXPECT_EQ(contents(), u"[Main]\r\nOther=1\r\nOverwrite=1\r\nAutoMode=0\r\n"_s);
}

TEST_F(SettingsTest, AWriteKeepsEveryOtherSectionAndKey)
{
    store("; kept\r\n[Other]\r\nPassword=0041\r\n\r\n[MAIN]\r\nport=0034\r\nPASSWORD=0042\r\n"
          "\r\n[Last]\r\nX=1\r\n");
    WriteSetting(u"Main"_s, u"Password"_s, u"C"_s, file());
    WriteSetting(u"Main"_s, u"RemoteHost"_s, u"h"_s, file());
    WriteSetting(u"New"_s, u"Key"_s, u"k"_s, file());
    EXPECT_EQ(contents(), u"; kept\r\n[Other]\r\nPassword=0041\r\n\r\n[MAIN]\r\nport=0034\r\n"
                          "PASSWORD=0043\r\nRemoteHost=0068\r\n\r\n[Last]\r\nX=1\r\n"
                          "[New]\r\nKey=006B\r\n"_s);
    EXPECT_EQ(ReadSetting(u"Other"_s, u"Password"_s, {}, file()), u"A"_s);
    EXPECT_EQ(ReadSetting(u"Main"_s, u"Port"_s, {}, file()), u"4"_s);
}

TEST_F(SettingsTest, HandEditedValuesDecodeByTheHexRules)
{
    store("[Main]\nPassword=00410042ZZZZ004\n");
    EXPECT_EQ(ReadSetting(u"Main"_s, u"Password"_s, {}, file()),
              u"AB"_s + QChar(u'\0') + QChar(u'\x04'));
}

TEST_F(SettingsTest, LongValuesComeBackWholeUpToTheReadLimit)
{
    const QString value(511, u'ö');
    WriteSetting(u"Main"_s, u"Password"_s, value, file());
    EXPECT_EQ(ReadSetting(u"Main"_s, u"Password"_s, {}, file()), value);
    // 2047 hex digits reach the decoder: 511 whole units and three digits.
    WriteSetting(u"Main"_s, u"Password"_s, QString(600, u'A'), file());
    EXPECT_EQ(ReadSetting(u"Main"_s, u"Password"_s, {}, file()),
              QString(511, u'A') + QChar(u'\x004'));
}

TEST_F(SettingsTest, AReadOnlyFileIsLeftAsItIs)
{
    store("[Main]\r\nPassword=0041\r\n");
    QFile::setPermissions(file(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    WriteSetting(u"Main"_s, u"Password"_s, u"new"_s, file());
    WriteBoolSetting(u"Main"_s, u"AutoMode"_s, true, file());
    EXPECT_EQ(contents(), u"[Main]\r\nPassword=0041\r\n"_s);
}

TEST_F(SettingsTest, AWriteReplacesTheFileWithoutLeavingTemporaries)
{
    for (int i = 0; i < 5; ++i)
        WriteSetting(u"Main"_s, u"Password"_s, QString::number(i), file());
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files), QStringList{u"qrv.INI"_s});
}

TEST(SettingsPath, ExtensionReplacedOrAppended)
{
    EXPECT_EQ(SettingsPathFor(u"/opt/korvalla/qrv"_s), u"/opt/korvalla/qrv.INI"_s);
    EXPECT_EQ(SettingsPathFor(u"/opt/k.v/KORVALLA.EXE"_s), u"/opt/k.v/KORVALLA.INI"_s);
    EXPECT_EQ(SettingsPathFor(u"/opt/k/a.b.c"_s), u"/opt/k/a.b.INI"_s);
}

} // namespace
