#include "mainwindow/qtprompter.h"

#include "dialogs/tfuggvenyform.h"
#include "mainwindow/teditform.h"

#include <QApplication>
#include <QFileDialog>
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

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, QString(), request.directory, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // The save command asks about existing files itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.presetName.isEmpty())
        dialog.selectFile(request.presetName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

QtPrompter::QtPrompter() = default;

QtPrompter::~QtPrompter() = default;

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
        m_ownCorrectionDialog = std::make_unique<TEditForm>(true, m_parent);
        m_correctionDialog = m_ownCorrectionDialog.get();
    }
    return m_correctionDialog->askValue(rangeText, cellText);
}

std::optional<SlopeFillEntries> QtPrompter::askSlopeFill() {
    if (!m_slopeFillDialog)
        return std::nullopt;
    return m_slopeFillDialog->askEntries();
}

std::optional<QString> QtPrompter::chooseFileToOpen(const FileDialogRequest& request) {
    return runFileDialog(m_parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompter::chooseFileToSave(const FileDialogRequest& request) {
    return runFileDialog(m_parent, request, QFileDialog::AcceptSave);
}

} // namespace zerwa
