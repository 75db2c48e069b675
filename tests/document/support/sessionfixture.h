// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/support/recordingserialport.h"
#include "document/session/appcontext.h"
#include "document/support/scriptedprompter.h"

#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace zerwa::test {

// What a program is given at its start, for tests: its own temporary start-up folder and
// journal folder, a scripted prompter, a comma as the decimal separator, a recording serial
// port and a recorded process end instead of a real one.
class SessionFixture {
public:
    explicit SessionFixture(const VariantProfile& profile)
        : m_profile(profile) {}

    AppContext context() {
        AppContext context{&m_profile,         m_realPrompter ? m_realPrompter : &m_prompter,
                           NumberFormat(u','), m_folder.path(),
                           m_journalFolder,    [this](int code) { m_exitCode = code; },
                           m_serialPortFactory};
        if (!context.serialPortFactory)
            context.serialPortFactory = [this](const QString&) -> std::unique_ptr<SerialPort> {
                return std::make_unique<RecordingSerialPort>(m_serial);
            };
        return context;
    }
    ScriptedPrompter& prompter() { return m_prompter; }
    SerialRecorder& serial() { return m_serial; }
    // The program's own message boxes instead of the scripted answers; before context().
    void usePrompter(Prompter& prompter) { m_realPrompter = &prompter; }
    // Another serial port (the real one, for example); before context().
    void setSerialPortFactory(decltype(AppContext::serialPortFactory) factory) {
        m_serialPortFactory = std::move(factory);
    }
    QString folder() const { return m_folder.path(); }
    // Where the program keeps its download records; before context().
    QString journalFolder() const { return m_journalFolder; }
    void setJournalFolder(const QString& folder) { m_journalFolder = folder; }
    QString pathOf(const QString& name) const { return m_folder.filePath(name); }
    std::optional<int> exitCode() const { return m_exitCode; }

private:
    const VariantProfile& m_profile;
    QTemporaryDir m_folder;
    QTemporaryDir m_journalDir;
    QString m_journalFolder = m_journalDir.filePath(QStringLiteral("journal"));
    ScriptedPrompter m_prompter;
    Prompter* m_realPrompter = nullptr;
    SerialRecorder m_serial;
    decltype(AppContext::serialPortFactory) m_serialPortFactory;
    std::optional<int> m_exitCode;
};

} // namespace zerwa::test
