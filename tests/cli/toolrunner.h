#pragma once

#include "model/variantprofile.h"
#include "support/programtable.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zerwa::test {

struct ToolResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

// Runs the built zerwa tool in a folder of its own, where the tests write their maps.
class ToolRunner {
public:
    ToolRunner();

    QString path(const QString& name) const { return m_dir.filePath(name); }
    // Writes the map as its program would save it; returns its file name.
    QString writeMap(const QString& name, const VariantProfile& profile, const SampleMap& map);

    // Runs the tool to its end. A crash fails the test.
    ToolResult run(const QStringList& arguments) const;
    // Starts the tool and leaves it running.
    void start(QProcess& process, const QStringList& arguments) const;

private:
    QTemporaryDir m_dir;
};

// The frame of the worked example's settings (4 cylinders, 12000 rpm, 1,5 ms, 3 ms, rising
// input, falling output) with every cell 10, in the profile's length, from the documented
// layout: 83 07 35, the cells, 0C 3A 0C, the cells, 4F.
QByteArray workedExampleFrame(int frameLength);
SampleMap workedExampleMap(const VariantProfile& profile);
QByteArray wireOf(const QByteArray& frame);

} // namespace zerwa::test
