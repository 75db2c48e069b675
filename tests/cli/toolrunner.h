// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/support/gtestqt.h"
#include "core/support/programtable.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zerwa::test {

// What a run of the tool gave: its exit code, standard output and standard error.
struct ToolResult {
    int exitCode = -1;
    QByteArray out, err;
    bool operator==(const ToolResult&) const = default;
    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};
inline ToolResult gives(int exitCode, const QString& out, const QString& err = {}) {
    return {exitCode, out.toUtf8(), err.toUtf8()};
}
inline void PrintTo(const ToolResult& r, std::ostream* out) {
    *out << "exit " << r.exitCode << ", out \"" << r.out.toStdString() << "\", err \""
         << r.err.toStdString() << '"';
}

// Runs the built zerwa tool in a folder of its own, where the tests write their maps; its
// journal is the folder "journal" in there.
class ToolRunner {
public:
    ToolRunner() {
        static int argc = 1; // QProcess needs an application object; GoogleTest makes none
        static char name[] = "cli_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
        environment.insert(QStringLiteral("ZERWA_JOURNAL_DIR"), path(QStringLiteral("journal")));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // Writes the map as its program saves it.
    void writeMap(const QString& name, const VariantProfile& profile, const SampleMap& map) {
        test::writeMap(path(name), profile, map);
    }
    void start(QProcess& process, const QStringList& arguments) const {
        process.setWorkingDirectory(m_dir.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZERWA_TOOL), arguments);
        EXPECT_TRUE(process.waitForStarted());
    }
    // Runs the tool to its end; a crash or a hang fails the test.
    ToolResult run(const QStringList& arguments) const {
        QProcess process;
        start(process, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(u' ');
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << arguments.join(u' ');
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

private:
    QTemporaryDir m_dir;
};

// A test of the tool run once for each program (instantiated with programName).
class ToolTest : public ::testing::TestWithParam<ProgramFacts> {
protected:
    const ProgramFacts& f = GetParam();
    const VariantProfile& profile = f.profile();
    ToolRunner tool;
    void write(const QString& name, const SampleMap& map) { tool.writeMap(name, profile, map); }
};
inline std::string programName(const ::testing::TestParamInfo<ProgramFacts>& info) {
    return info.param.name;
}

} // namespace zerwa::test
