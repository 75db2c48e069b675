#include "storage/linesfile.h"
#include "support/filesizelimit.h"
#include "support/gtestqt.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

TEST(LinesFile, EveryKindOfLineEndEndsALine) {
    EXPECT_EQ(linesfile::splitLines(QString()), QStringList());
    EXPECT_EQ(linesfile::splitLines(QStringLiteral("a")), QStringList({"a"}));
    EXPECT_EQ(linesfile::splitLines(QStringLiteral("a\r\n")), QStringList({"a"}));
    EXPECT_EQ(linesfile::splitLines(QStringLiteral("a\r\nb\nc\rd")),
              QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(linesfile::splitLines(QStringLiteral("\r\n")), QStringList({""}));
    EXPECT_EQ(linesfile::splitLines(QStringLiteral("a\r\n\r\n")), QStringList({"a", ""}));
    EXPECT_EQ(linesfile::splitLines(QStringLiteral("a\n\rb")), QStringList({"a", "", "b"}));
    EXPECT_EQ(linesfile::splitLines(QStringLiteral("\r\r")), QStringList({"", ""}));
}

TEST(LinesFile, WritesWindows1250WithCrLfAfterEveryLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Editv.txt");
    ASSERT_TRUE(linesfile::write(path, {QStringLiteral("/tmp/mérés.qmt"), QStringLiteral("3")}));
    EXPECT_EQ(test::readBytes(path), QByteArray("/tmp/m\xE9r\xE9s.qmt\r\n3\r\n"));
    const auto lines = linesfile::read(path);
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, QStringList({"/tmp/mérés.qmt", "3"}));

    ASSERT_TRUE(linesfile::write(path, {}));
    EXPECT_EQ(test::readBytes(path), QByteArray());
}

TEST(LinesFile, MissingFileIsNotAnError) {
    QTemporaryDir dir;
    QString error = QStringLiteral("stale");
    EXPECT_FALSE(linesfile::read(dir.filePath("none.txt"), &error));
    EXPECT_TRUE(error.isEmpty());
}

TEST(LinesFile, AFailedWriteKeepsThePreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.txt");
    test::writeBytes(path, "old\r\n");

    QString error;
    EXPECT_FALSE(linesfile::write(path, {QStringLiteral("\u4F60")}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::readBytes(path), QByteArray("old\r\n"));

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    EXPECT_FALSE(linesfile::write(dir.filePath("folder"), {QStringLiteral("x")}, &error));
    EXPECT_FALSE(error.isEmpty());

    if (QFile::permissions(dir.path()) && ::geteuid() != 0) {
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        EXPECT_FALSE(linesfile::write(path, {QStringLiteral("new")}, &error));
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        EXPECT_EQ(test::readBytes(path), QByteArray("old\r\n"));
    }
}

TEST(LinesFile, AWriteThatStopsPartWayKeepsThePreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.txt");
    test::writeBytes(path, "old\r\n");
    // Both through the write buffer and past it.
    for (const qsizetype size : {qsizetype(3000), qsizetype(100000)}) {
        QString error;
        bool written = true;
        {
            test::FileSizeLimit limit(100);
            written = linesfile::writeBytes(path, QByteArray(size, 'x'), &error);
        }
        EXPECT_FALSE(written) << size;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(test::readBytes(path), QByteArray("old\r\n"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList({"keep.txt"}));
    }
}

} // namespace
