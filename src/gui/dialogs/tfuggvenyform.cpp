// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/tfuggvenyform.h"

#include "core/model/columnedits.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zerwa {

namespace {

constexpr int kLabelSpacing = 3;

// A labelled edit: the label stands above the field.
QLineEdit* makeLabelledEdit(const QString& name, const QString& caption, const QRect& geometry,
                            QWidget* parent, QLabel** label) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    *label = new QLabel(caption, parent);
    (*label)->adjustSize();
    (*label)->move(geometry.left(), geometry.top() - kLabelSpacing - (*label)->height());
    (*label)->setBuddy(edit);
    return edit;
}

} // namespace

TFuggvenyForm::TFuggvenyForm(Prompter& prompter, NumberFormat numbers, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , m_prompter(prompter)
    , m_numbers(numbers) {
    setObjectName(QStringLiteral("FuggvenyForm"));
    setWindowTitle(QStringLiteral("Függvény"));
    setFixedSize(344, 121);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(8, 8, 330, 106);

    LEEmelkedes = makeLabelledEdit(QStringLiteral("LEEmelkedes"), QStringLiteral("Emelkedés"),
                                   {16, 24, 121, 21}, Panel1, &EmelkedesLabel);
    LELepes = makeLabelledEdit(QStringLiteral("LELepes"), QStringLiteral("Lépés"),
                               {192, 24, 121, 21}, Panel1, &LepesLabel);

    BtnOk = new QPushButton(QStringLiteral("OK"), Panel1);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setGeometry(216, 64, 75, 25);
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &TFuggvenyForm::BtnOkClick);

    BtnCancel = new QPushButton(Panel1);
    BtnCancel->setAutoDefault(false);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(48, 64, 75, 25);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(LEEmelkedes, LELepes);
    setTabOrder(LELepes, BtnOk);
    setTabOrder(BtnOk, BtnCancel);
}

std::optional<SlopeFillEntries> TFuggvenyForm::askEntries() {
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return SlopeFillEntries{LEEmelkedes->text(), LELepes->text()};
}

void TFuggvenyForm::BtnOkClick() {
    if (columnedits::acceptsSlopeFill(LEEmelkedes->text(), LELepes->text(), m_numbers)) {
        accept();
        return;
    }
    m_prompter.showMessage(columnedits::slopeFillRefusal());
}

void TFuggvenyForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    takePlatformCancelLook();
    if (parentWidget()) {
        const QWidget* window = parentWidget()->window();
        move(window->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    FormShow();
}

void TFuggvenyForm::takePlatformCancelLook() {
    // The platform's own Cancel caption (in the user's language) and icon. Finding the icon in
    // the icon theme takes longer than building the rest of the program's windows, so the
    // button takes them when the dialog is first shown, not at start.
    if (!BtnCancel->text().isEmpty())
        return;
    QDialogButtonBox standard(QDialogButtonBox::Cancel);
    const QPushButton* model = standard.button(QDialogButtonBox::Cancel);
    BtnCancel->setIcon(model->icon());
    BtnCancel->setText(model->text());
}

void TFuggvenyForm::FormShow() {
    LEEmelkedes->clear();
    LELepes->clear();
    LEEmelkedes->setFocus();
}

} // namespace zerwa
