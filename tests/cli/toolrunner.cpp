#include "toolrunner.h"

#include "storage/mapfile.h"
#include "support/testfiles.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace zerwa::test {

namespace {

// QProcess needs an application object; GoogleTest's main makes none.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "cli_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

} // namespace

ToolRunner::ToolRunner() {
    ensureApplication();
}

QString ToolRunner::writeMap(const QString& name, const VariantProfile& profile,
                             const SampleMap& map) {
    const auto bytes = mapfile::encode(profile, {map.settings, map.table});
    EXPECT_TRUE(bytes);
    writeBytes(path(name), bytes.value_or(QByteArray()));
    return name;
}

void ToolRunner::start(QProcess& process, const QStringList& arguments) const {
    process.setWorkingDirectory(m_dir.path());
    process.start(QStringLiteral(ZERWA_TOOL), arguments);
    EXPECT_TRUE(process.waitForStarted());
}

ToolResult ToolRunner::run(const QStringList& arguments) const {
    QProcess process;
    start(process, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(u' ').toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << arguments.join(u' ').toStdString();
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray workedExampleFrame(int frameLength) {
    QByteArray frame(frameLength, char(0x14)); // every cell 10 -> 20
    frame[0] = char(0x83);
    frame[1] = char(0x07);
    frame[2] = char(0x35);
    frame[63] = char(0x0C);
    frame[64] = char(0x3A);
    frame[65] = char(0x0C);
    frame[frameLength - 1] = char(0x4F);
    return frame;
}

SampleMap workedExampleMap(const VariantProfile& profile) {
    SampleMap map = SampleMap(profile);
    map.fill(QStringLiteral("10"));
    return map;
}

QByteArray wireOf(const QByteArray& frame) {
    QByteArray wire;
    for (const char byte : frame)
        wire += byte + QByteArray("\xFF\xFF");
    return wire;
}

} // namespace zerwa::test
