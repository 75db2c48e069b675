// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/rangedialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zerwa {

namespace {

using rangeedits::Operation;

bool takesAmount(Operation operation) {
    return operation == Operation::Add || operation == Operation::Scale;
}

} // namespace

RangeDialog::RangeDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , m_operations(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("RangeDialog"));
    setWindowTitle(QStringLiteral("Kijelölés"));

    auto* group = new QGroupBox(QStringLiteral("Művelet a kijelölt cellákon"), this);
    auto* buttons = new QVBoxLayout(group);
    const QString captions[] = {
        QStringLiteral("&Hozzáadás"),
        QStringLiteral("&Szorzás (%)"),
        QStringLiteral("Interpoláció &vízszintesen"),
        QStringLiteral("Interpoláció &függőlegesen"),
        QStringLiteral("Interpoláció &mindkét irányban"),
        QStringLiteral("Simí&tás"),
    };
    for (const QString& caption : captions) {
        auto* button = new QRadioButton(caption, group);
        m_operations->addButton(button, int(operationButtons.size()));
        buttons->addWidget(button);
        operationButtons << button;
    }
    operationButtons.first()->setChecked(true);

    amountEdit = new QLineEdit(this);
    amountEdit->setObjectName(QStringLiteral("amountEdit"));
    auto* amountRow = new QFormLayout;
    amountRow->addRow(QStringLiteral("&Érték:"), amountEdit);

    previewLabel = new QLabel(this);
    previewLabel->setObjectName(QStringLiteral("previewLabel"));
    previewLabel->setWordWrap(true);
    previewLabel->setMinimumHeight(previewLabel->fontMetrics().height() * 4);
    previewLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton = box->button(QDialogButtonBox::Ok);
    okButton->setText(QStringLiteral("OK"));
    okButton->setDefault(true);
    cancelButton = box->button(QDialogButtonBox::Cancel);
    cancelButton->setText(QStringLiteral("Mégse"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(amountRow);
    layout->addWidget(previewLabel);
    layout->addWidget(box);
    setMinimumWidth(340);

    connect(m_operations, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            updatePreview();
    });
    connect(amountEdit, &QLineEdit::textChanged, this, &RangeDialog::updatePreview);
}

std::optional<rangeedits::Request> RangeDialog::ask(const Prompter::RangePreview& preview) {
    m_preview = preview;
    updatePreview();
    if (amountEdit->isEnabled()) {
        amountEdit->setFocus();
        amountEdit->selectAll();
    } else {
        m_operations->checkedButton()->setFocus();
    }
    const int result = exec();
    m_preview = nullptr;
    if (result != QDialog::Accepted)
        return std::nullopt;
    return request();
}

rangeedits::Request RangeDialog::request() const {
    const auto operation = Operation(m_operations->checkedId());
    return {operation, takesAmount(operation) ? amountEdit->text() : QString()};
}

void RangeDialog::updatePreview() {
    const rangeedits::Request choice = request();
    amountEdit->setEnabled(takesAmount(choice.operation));
    if (!m_preview)
        return;
    const rangeedits::Plan plan = m_preview(choice);
    previewLabel->setText(plan.after ? plan.preview() : plan.problem);
    okButton->setEnabled(plan.after.has_value());
}

} // namespace zerwa
