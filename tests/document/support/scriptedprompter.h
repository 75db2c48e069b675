// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/model/prompter.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <functional>
#include <stdexcept>

namespace zerwa::test {

// Answers the main window's questions from a script and records what was asked, in order.
// A question with no scripted answer is recorded as unexpected and answered No or Cancel; the
// correction dialog, which would ask again and again, throws instead.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, YesNo, Error, Correction, SlopeFill, Range, OpenFile, SaveFile };
    struct Record {
        Kind kind;
        QString text;  // the message, the correction's range text, or a dialog's preset name
        QString value; // the text the correction dialog was opened with
        FileDialogRequest request;
    };

    std::deque<bool> yesNo;
    std::deque<QString> corrections; // the texts typed into the correction dialog
    std::deque<std::optional<SlopeFillEntries>> slopeFills;       // nothing: Cancel
    std::deque<std::optional<rangeedits::Request>> rangeRequests; // nothing: Cancel
    std::deque<std::optional<QString>> openFiles;
    std::deque<std::optional<QString>> saveFiles;
    std::function<void()> onRecord; // called as each question is asked, before the answer
    QList<Record> records;
    QStringList unexpected;

    void showMessage(const QString& text) override { record(Kind::Message, text); }
    void showError(const QString& text) override { record(Kind::Error, text); }
    bool askYesNo(const QString& text) override {
        record(Kind::YesNo, text);
        return take(yesNo);
    }
    QString askCorrectedValue(const QString& rangeText, const QString& cellText) override {
        record(Kind::Correction, rangeText, cellText);
        if (corrections.empty())
            throw std::runtime_error("no scripted answer for the correction dialog");
        return take(corrections);
    }
    std::optional<SlopeFillEntries> askSlopeFill() override {
        record(Kind::SlopeFill, {});
        return take(slopeFills);
    }
    std::optional<rangeedits::Request> askRangeOperation(const RangePreview&) override {
        record(Kind::Range, {});
        return take(rangeRequests);
    }
    std::optional<QString> chooseFileToOpen(const FileDialogRequest& request) override {
        record(Kind::OpenFile, request.presetName, {}, request);
        return take(openFiles);
    }
    std::optional<QString> chooseFileToSave(const FileDialogRequest& request) override {
        record(Kind::SaveFile, request.presetName, {}, request);
        return take(saveFiles);
    }

    QStringList texts(Kind kind) const {
        QStringList result;
        for (const Record& entry : records)
            if (entry.kind == kind)
                result << entry.text;
        return result;
    }
    QStringList messages() const { return texts(Kind::Message); }
    QStringList errors() const { return texts(Kind::Error); }

private:
    void record(Kind kind, const QString& text, const QString& value = {},
                const FileDialogRequest& request = {}) {
        records.append({kind, text, value, request});
        if (onRecord)
            onRecord();
    }
    // The next scripted answer, or No, an empty text or Cancel when there is none.
    template <typename T> T take(std::deque<T>& answers) {
        if (answers.empty()) {
            unexpected << records.constLast().text;
            return T();
        }
        const T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace zerwa::test
