// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/qtprompter.h"

#include "gui/dialogs/rangedialog.h"
#include "gui/dialogs/tfuggvenyform.h"
#include "gui/mainwindow/teditform.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace zerwa {

namespace {

// Texts are shown as they stand: a path with '<' in it must not turn into markup.
int execBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QApplication::applicationName(), text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

// A typed name without an extension gets the default one. The widget dialog does this
// itself; a platform's own dialog may not.
QString withDefaultSuffix(const QString& path, const QString& suffix,
                          QFileDialog::AcceptMode mode) {
    const QFileInfo info(path);
    if (suffix.isEmpty() || info.fileName().contains(u'.') || info.isDir())
        return path;
    const QString suffixed = path + u'.' + suffix;
    // An existing file without extension is what the open dialog was asked for.
    if (mode == QFileDialog::AcceptOpen && (info.exists() || !QFileInfo::exists(suffixed)))
        return path;
    return suffixed;
}

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, QString(), request.directory, request.filter);
    dialog.setAcceptMode(mode);
    if (!request.caption.isEmpty())
        dialog.setWindowTitle(request.caption);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // The save command asks about existing files itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // A bare preset name is proposed inside the initial folder, a path where it points.
    if (!request.presetName.isEmpty())
        dialog.selectFile(QDir(request.directory).filePath(request.presetName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return withDefaultSuffix(dialog.selectedFiles().constFirst(), request.defaultSuffix, mode);
}

} // namespace

QtPrompter::QtPrompter() = default;

QtPrompter::~QtPrompter() {
    delete m_ownCorrectionDialog;
    delete m_rangeDialog;
}

void QtPrompter::setCorrectionDialog(TEditForm* dialog) {
    m_correctionDialog = dialog;
}

void QtPrompter::showMessage(const QString& text) {
    execBox(m_parent, QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPrompter::askYesNo(const QString& text) {
    return execBox(m_parent, QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes) == QMessageBox::Yes;
}

void QtPrompter::showError(const QString& text) {
    execBox(m_parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

QString QtPrompter::askCorrectedValue(const QString& rangeText, const QString& cellText) {
    if (!m_correctionDialog) {
        m_ownCorrectionDialog = new TEditForm(true, m_parent);
        m_correctionDialog = m_ownCorrectionDialog;
    }
    return m_correctionDialog->askValue(rangeText, cellText);
}

std::optional<SlopeFillEntries> QtPrompter::askSlopeFill() {
    if (!m_slopeFillDialog)
        return std::nullopt;
    return m_slopeFillDialog->askEntries();
}

std::optional<rangeedits::Request> QtPrompter::askRangeOperation(const RangePreview& preview) {
    if (!m_rangeDialog)
        m_rangeDialog = new RangeDialog(m_parent);
    return m_rangeDialog->ask(preview);
}

std::optional<QString> QtPrompter::chooseFileToOpen(const FileDialogRequest& request) {
    return runFileDialog(m_parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompter::chooseFileToSave(const FileDialogRequest& request) {
    return runFileDialog(m_parent, request, QFileDialog::AcceptSave);
}

} // namespace zerwa
