#include "link/portdevice.h"
#include "support/gtestqt.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

TEST(PortDeviceTest, PortsWithoutALinkAreTheBuiltInSerialPorts) {
    QTemporaryDir folder;
    const QString startup = folder.path() + u'/';
    EXPECT_EQ(portdevice::devicePath(1, startup), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(portdevice::devicePath(4, startup), QStringLiteral("/dev/ttyS3"));
    EXPECT_EQ(portdevice::devicePath(16, startup), QStringLiteral("/dev/ttyS15"));
}

TEST(PortDeviceTest, AComEntryInTheStartupFolderIsUsedEvenWhenBroken) {
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), folder.filePath("COM3")));
    ASSERT_TRUE(QFile::link(folder.filePath("gone"), folder.filePath("COM4")));
    test::writeBytes(folder.filePath("COM16"), {});
    for (const QString& startup : {folder.path(), folder.path() + u'/'}) {
        EXPECT_EQ(portdevice::devicePath(3, startup), folder.filePath("COM3"));
        EXPECT_EQ(portdevice::devicePath(4, startup), folder.filePath("COM4"));
        EXPECT_EQ(portdevice::devicePath(16, startup), folder.filePath("COM16"));
        EXPECT_EQ(portdevice::devicePath(1, startup), QStringLiteral("/dev/ttyS0"));
    }
    // Only the exact name counts.
    test::writeBytes(folder.filePath("com2"), {});
    EXPECT_EQ(portdevice::devicePath(2, folder.path()), QStringLiteral("/dev/ttyS1"));
}

TEST(PortDeviceTest, DescriptionNamesPortAndDevice) {
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), folder.filePath("COM3")));
    EXPECT_EQ(portdevice::describe(3, folder.filePath("COM3")),
              QStringLiteral("COM3 (") + folder.filePath("COM3") +
                  QStringLiteral(" -> /dev/null)"));
    EXPECT_EQ(portdevice::describe(2, QStringLiteral("/dev/ttyS1")),
              QStringLiteral("COM2 (/dev/ttyS1)"));
    EXPECT_EQ(portdevice::describe(2, QStringLiteral("COM2")), QStringLiteral("COM2"));
}

} // namespace
