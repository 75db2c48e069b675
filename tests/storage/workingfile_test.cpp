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

} // namespace
