#include "storage/workingfile.h"
#include "support/gtestqt.h"
#include "support/testfiles.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

struct PortUpdateCase {
    const char* before;
    const char* after;
};

class PortLineUpdate : public ::testing::TestWithParam<PortUpdateCase> {};

TEST_P(PortLineUpdate, ReplacesOrAppendsLineTwoOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Edit.txt");
    test::writeBytes(path, GetParam().before);
    ASSERT_TRUE(workingfile::updatePortLine(path, QStringLiteral("16")));
    EXPECT_EQ(test::readBytes(path), QByteArray(GetParam().after));
}

INSTANTIATE_TEST_SUITE_P(
    Files, PortLineUpdate,
    ::testing::Values(PortUpdateCase{"", ""}, PortUpdateCase{"/m/a.qmt\r\n", "/m/a.qmt\r\n16\r\n"},
                      PortUpdateCase{"/m/a.qmt", "/m/a.qmt\r\n16\r\n"},
                      PortUpdateCase{"/m/a.qmt\r\n2\r\n", "/m/a.qmt\r\n16\r\n"},
                      PortUpdateCase{"a\r\n2\r\nthird\r\n", "a\r\n16\r\nthird\r\n"},
                      PortUpdateCase{"a\n\nc\rd", "a\r\n16\r\nc\r\nd\r\n"},
                      PortUpdateCase{"\r\n", "\r\n16\r\n"}));

TEST(PortLineUpdateTest, AMissingFileIsNotCreated) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Edit.txt");
    EXPECT_TRUE(workingfile::updatePortLine(path, QStringLiteral("3")));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(WorkingFileSaveWrite, ExactlyTwoLinesReplaceTheOldContent) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Editv4_60.txt");
    test::writeBytes(path, "/old.qmt\r\n3\r\nthird\r\n");
    ASSERT_TRUE(workingfile::writeAfterSave(path, QStringLiteral("/home/kati/mérés ő.qmt"),
                                            QStringLiteral("12")));
    EXPECT_EQ(test::readBytes(path), QByteArray("/home/kati/m\xE9r\xE9s \xF5.qmt\r\n12\r\n"));

    // No port chosen yet: the second line is empty, but it is there.
    ASSERT_TRUE(workingfile::writeAfterSave(path, QStringLiteral("/a.qmt"), QString()));
    EXPECT_EQ(test::readBytes(path), QByteArray("/a.qmt\r\n\r\n"));
}

TEST(WorkingFileSaveWrite, OnlyNamesThatReadBackUnchangedAreRecorded) {
    EXPECT_TRUE(workingfile::canRecordMapFileName(QStringLiteral("/home/kati/Mérés ŐŰ/a.qmt")));
    EXPECT_TRUE(workingfile::canRecordMapFileName(QStringLiteral("C:\\maps\\a.qmt")));
    EXPECT_FALSE(workingfile::canRecordMapFileName(QStringLiteral("/home/\u4F60/a.qmt")));
    EXPECT_FALSE(workingfile::canRecordMapFileName(QStringLiteral("/home/\u00F5/a.qmt")));
    EXPECT_FALSE(workingfile::canRecordMapFileName(QStringLiteral("/a\nb.qmt")));
    EXPECT_FALSE(workingfile::canRecordMapFileName(QStringLiteral("/a\rb.qmt")));
}

TEST(WorkingFileSaveWrite, AFailedWriteKeepsThePreviousRecord) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Editv.txt");
    test::writeBytes(path, "/old.qmt\r\n2\r\n");
    QString error;
    EXPECT_FALSE(workingfile::writeAfterSave(path, QStringLiteral("/\u4F60.qmt"), "1", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::readBytes(path), QByteArray("/old.qmt\r\n2\r\n"));
}

} // namespace
