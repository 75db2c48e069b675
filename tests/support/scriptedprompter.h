#pragma once

#include "model/prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

namespace zerwa::test {

// Answers the main window's questions from a script and records what was asked, in order.
// A question with no scripted answer is recorded as unexpected and answered "No"/cancel.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, YesNo, Error, Correction, SlopeFill, OpenFile, SaveFile };
    struct Record {
        Kind kind;
        QString text;  // the message, the correction's range text, or a dialog's preset name
        QString value; // the text the correction dialog was opened with
        FileDialogRequest request;
    };

    // Scripted answers, consumed in order.
    void answerYesNo(bool yes) { m_yesNo.push_back(yes); }
    // The text typed into the correction dialog before it is closed.
    void answerCorrection(const QString& typed) { m_corrections.push_back(typed); }
    // The entries the slope-fill dialog accepts, or nothing for Cancel.
    void answerSlopeFill(std::optional<SlopeFillEntries> entries) {
        m_slopeFills.push_back(std::move(entries));
    }
    void answerOpenFile(std::optional<QString> path) { m_openFiles.push_back(std::move(path)); }
    void answerSaveFile(std::optional<QString> path) { m_saveFiles.push_back(std::move(path)); }

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showError(const QString& text) override;
    // Throws when no answer is scripted, so that a test cannot hang in the correction loop.
    QString askCorrectedValue(const QString& rangeText, const QString& cellText) override;
    std::optional<SlopeFillEntries> askSlopeFill() override;
    std::optional<QString> chooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<QString> chooseFileToSave(const FileDialogRequest& request) override;

    // Called as each question is asked, before it is answered (to look at the window then).
    void setOnRecord(std::function<void(const Record&)> callback) {
        m_onRecord = std::move(callback);
    }

    const QList<Record>& records() const { return m_records; }
    // The texts of every record of one kind, in order.
    QStringList texts(Kind kind) const;
    QStringList messages() const { return texts(Kind::Message); }
    QStringList errors() const { return texts(Kind::Error); }
    // Questions that found no scripted answer, and answers that were never asked for.
    QStringList unexpected() const { return m_unexpected; }
    bool allAnswersUsed() const;
    void clear();

private:
    void record(Record entry);

    std::function<void(const Record&)> m_onRecord;
    QList<Record> m_records;
    QStringList m_unexpected;
    std::deque<bool> m_yesNo;
    std::deque<QString> m_corrections;
    std::deque<std::optional<SlopeFillEntries>> m_slopeFills;
    std::deque<std::optional<QString>> m_openFiles;
    std::deque<std::optional<QString>> m_saveFiles;
};

} // namespace zerwa::test
