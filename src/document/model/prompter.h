// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/rangeedits.h"

#include <QString>

#include <functional>
#include <optional>

namespace zerwa {

// What a file dialog is set up with.
struct FileDialogRequest {
    QString filter;        // e.g. "Map tábla (*.qmt)"
    QString defaultSuffix; // appended to a typed name without extension
    QString directory;     // initial folder
    QString presetName;    // proposed file name
    QString caption;       // the dialog's title; empty: the toolkit's own
};

// The two entries of the slope-fill dialog, as typed and accepted.
struct SlopeFillEntries {
    QString slope;
    QString steps;
};

// Every modal question the main window asks goes through here, so that tests can answer
// them without a screen. The real implementation shows Qt dialogs.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A plain message box with an OK button.
    virtual void showMessage(const QString& text) = 0;
    // A warning box with Yes and No; true only when the user answered Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // The error box of the top-level error handler.
    virtual void showError(const QString& text) = 0;

    // The correction dialog: shows the range text and the cell text, and returns the text in
    // its value field when it is closed (however it was closed).
    virtual QString askCorrectedValue(const QString& rangeText, const QString& cellText) = 0;

    // The slope-fill dialog: the accepted entries, or nothing when it was cancelled.
    virtual std::optional<SlopeFillEntries> askSlopeFill() = 0;

    // The range dialog "Kijelölés": the operation chosen and its amount, or nothing when it was
    // cancelled. `preview` tells what a choice would do: the dialog shows its line and offers
    // OK only for a choice that may be done.
    using RangePreview = std::function<rangeedits::Plan(const rangeedits::Request&)>;
    virtual std::optional<rangeedits::Request> askRangeOperation(const RangePreview& preview) = 0;

    // File dialogs for map files; nothing when cancelled.
    virtual std::optional<QString> chooseFileToOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> chooseFileToSave(const FileDialogRequest& request) = 0;
};

} // namespace zerwa
