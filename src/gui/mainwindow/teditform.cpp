// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/teditform.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zerwa {

namespace {
const QSize kClientSize(312, 150);
const QPoint kFixedScreenPosition(248, 220);
} // namespace

TEditForm::TEditForm(bool centredOnParent, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_centredOnParent(centredOnParent) {
    setObjectName(QStringLiteral("EditForm"));
    setWindowTitle(QStringLiteral("EditForm"));
    setModal(true);
    setFixedSize(kClientSize);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(118, 108, 75, 28);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    StaticText1 = new QLabel(this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setGeometry(16, 12, 280, 40);
    StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setWordWrap(true);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(96, 62, 120, 32);

    setTabOrder(BitBtn1, Edit1);
}

QString TEditForm::askValue(const QString& rangeText, const QString& valueText) {
    StaticText1->setText(rangeText);
    Edit1->setText(valueText);
    BitBtn1->setFocus();
    exec();
    return Edit1->text();
}

void TEditForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The range and the value are written larger. The dialog is built at start but seldom
    // shown, so its larger font is made ready when it is first shown.
    if (Edit1->font() == font()) {
        QFont larger = font();
        larger.setPointSizeF(larger.pointSizeF() * 1.4);
        StaticText1->setFont(larger);
        Edit1->setFont(larger);
    }
    if (m_centredOnParent && parentWidget()) {
        const QWidget* window = parentWidget()->window();
        move(window->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    } else {
        move(kFixedScreenPosition);
    }
    BitBtn1->setFocus();
}

} // namespace zerwa
