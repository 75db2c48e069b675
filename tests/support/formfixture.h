#pragma once

#include "mainwindow/tform1.h"
#include "support/programtable.h"
#include "support/recordingserialport.h"
#include "support/scriptedprompter.h"

#include <QLineSeries>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

Q_DECLARE_METATYPE(const zerwa::test::ProgramFacts*)

namespace zerwa::test {

// Table-driven window tests: one row per program, in a column named "program".
inline void addProgramRows() {
    QTest::addColumn<const ProgramFacts*>("program");
    for (const ProgramFacts& facts : programFacts())
        QTest::newRow(facts.name) << &facts;
}

// A main window in its own temporary start-up folder, with a scripted prompter, a comma as the
// decimal separator, a recording serial port and a recorded process end instead of a real one.
class FormFixture {
public:
    explicit FormFixture(const VariantProfile& profile)
        : m_profile(profile) {}

    // Builds the window (the whole start-up runs here). Files for the start-up can be put
    // into folder() before.
    TForm1& start() {
        AppContext context{&m_profile,
                           &m_prompter,
                           NumberFormat(u','),
                           m_folder.path(),
                           [this](int code) { m_exitCode = code; },
                           m_serialPortFactory};
        if (!context.serialPortFactory)
            context.serialPortFactory = [this](const QString&) -> std::unique_ptr<SerialPort> {
                return std::make_unique<RecordingSerialPort>(m_serial);
            };
        m_form = std::make_unique<TForm1>(context);
        return *m_form;
    }
    // Closes the window and starts a new one in the same start-up folder (the next run).
    TForm1& restart() {
        m_form.reset();
        return start();
    }
    TForm1& form() { return *m_form; }
    ScriptedPrompter& prompter() { return m_prompter; }
    SerialRecorder& serial() { return m_serial; }
    // Another serial port for the window (the real one, for example); before start().
    void setSerialPortFactory(decltype(AppContext::serialPortFactory) factory) {
        m_serialPortFactory = std::move(factory);
    }
    QString folder() const { return m_folder.path(); }
    QString pathOf(const QString& name) const { return m_folder.filePath(name); }
    std::optional<int> exitCode() const { return m_exitCode; }

private:
    const VariantProfile& m_profile;
    QTemporaryDir m_folder;
    ScriptedPrompter m_prompter;
    SerialRecorder m_serial;
    decltype(AppContext::serialPortFactory) m_serialPortFactory;
    std::optional<int> m_exitCode;
    std::unique_ptr<TForm1> m_form;
};

// The Y values of a chart line, point 0 first.
inline QList<qreal> yValues(const QLineSeries* line) {
    QList<qreal> values;
    for (const QPointF& point : line->points())
        values << point.y();
    return values;
}

} // namespace zerwa::test
