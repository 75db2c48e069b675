// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/portchooserpanel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace zerwa {

PortChooserPanel::PortChooserPanel(int portItemCount, bool firstPortSelected, QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("Panel5"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);

    Label6 = new QLabel(QStringLiteral("Port :"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setGeometry(20, 14, 40, 20);

    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setGeometry(70, 12, 80, 24);
    for (int port = 1; port <= portItemCount; ++port)
        ComboBox2->addItem(QString::number(port));
    ComboBox2->setCurrentIndex(firstPortSelected ? 0 : -1);
    Label6->setBuddy(ComboBox2);

    ComOkBtn = new QPushButton(QStringLiteral("OK"), this);
    ComOkBtn->setObjectName(QStringLiteral("ComOkBtn"));
    ComOkBtn->setGeometry(234, 10, 61, 28);
    ComOkBtn->setDefault(true);
}

void PortChooserPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ComOkBtn->click();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace zerwa
