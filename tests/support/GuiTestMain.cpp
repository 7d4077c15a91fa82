// GoogleTest's entry for tests that need the application object: the
// offscreen platform, and a documents folder of their own.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir config;
    QFile userDirs(config.filePath(QStringLiteral("user-dirs.dirs")));
    if (userDirs.open(QIODevice::WriteOnly))
        userDirs.write("XDG_DOCUMENTS_DIR=\"" +
                       QFile::encodeName(config.filePath(QStringLiteral("Documents"))) + "\"\n");
    userDirs.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
