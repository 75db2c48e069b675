#include "support/scriptedprompter.h"

#include <stdexcept>

namespace zerwa::test {

namespace {

// Takes the next scripted answer; false when the script has none left.
template <typename T> bool take(std::deque<T>& queue, T& answer) {
    if (queue.empty())
        return false;
    answer = std::move(queue.front());
    queue.pop_front();
    return true;
}

} // namespace

void ScriptedPrompter::record(Record entry) {
    m_records.append(entry);
    if (m_onRecord)
        m_onRecord(m_records.constLast());
}

void ScriptedPrompter::showMessage(const QString& text) {
    record({Kind::Message, text, {}, {}});
}

bool ScriptedPrompter::askYesNo(const QString& text) {
    record({Kind::YesNo, text, {}, {}});
    bool answer = false;
    if (take(m_yesNo, answer))
        return answer;
    m_unexpected << QStringLiteral("yes/no: ") + text;
    return false;
}

void ScriptedPrompter::showError(const QString& text) {
    record({Kind::Error, text, {}, {}});
}

QString ScriptedPrompter::askCorrectedValue(const QString& rangeText, const QString& cellText) {
    record({Kind::Correction, rangeText, cellText, {}});
    QString answer;
    if (take(m_corrections, answer))
        return answer;
    m_unexpected << QStringLiteral("correction: ") + rangeText;
    throw std::runtime_error("no scripted answer for the correction dialog");
}

std::optional<SlopeFillEntries> ScriptedPrompter::askSlopeFill() {
    record({Kind::SlopeFill, {}, {}, {}});
    std::optional<SlopeFillEntries> answer;
    if (take(m_slopeFills, answer))
        return answer;
    m_unexpected << QStringLiteral("slope fill");
    return std::nullopt;
}

std::optional<QString> ScriptedPrompter::chooseFileToOpen(const FileDialogRequest& request) {
    record({Kind::OpenFile, request.presetName, {}, request});
    std::optional<QString> answer;
    if (take(m_openFiles, answer))
        return answer;
    m_unexpected << QStringLiteral("open dialog");
    return std::nullopt;
}

std::optional<QString> ScriptedPrompter::chooseFileToSave(const FileDialogRequest& request) {
    record({Kind::SaveFile, request.presetName, {}, request});
    std::optional<QString> answer;
    if (take(m_saveFiles, answer))
        return answer;
    m_unexpected << QStringLiteral("save dialog");
    return std::nullopt;
}

QStringList ScriptedPrompter::texts(Kind kind) const {
    QStringList result;
    for (const Record& record : m_records) {
        if (record.kind == kind)
            result << record.text;
    }
    return result;
}

bool ScriptedPrompter::allAnswersUsed() const {
    return m_yesNo.empty() && m_corrections.empty() && m_slopeFills.empty() &&
           m_openFiles.empty() && m_saveFiles.empty();
}

void ScriptedPrompter::clear() {
    m_records.clear();
    m_unexpected.clear();
}

} // namespace zerwa::test
