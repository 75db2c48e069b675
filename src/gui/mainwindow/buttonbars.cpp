// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/buttonbars.h"

#include "gui/mainwindow/glyphs.h"
#include "gui/mainwindow/portchooserpanel.h"

#include <QPushButton>

namespace zerwa {

namespace {

QPushButton* makeButton(const QString& name, const QString& caption, const QRect& geometry,
                        QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TopButtonBar::TopButtonBar(QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("Panel4"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    LoadBtn = makeButton(QStringLiteral("LoadBtn"), QStringLiteral("Load"), {7, 10, 58, 28}, this);
    SaveBtn = makeButton(QStringLiteral("SaveBtn"), QStringLiteral("Save"), {72, 10, 58, 28}, this);
    EditBtn =
        makeButton(QStringLiteral("EditBtn"), QStringLiteral("Edit"), {153, 10, 58, 28}, this);
    TorolBtn =
        makeButton(QStringLiteral("TorolBtn"), QStringLiteral("Törlés"), {234, 10, 58, 28}, this);
    HelpBtn = makeButton(QStringLiteral("HelpBtn"), QString(), {323, 10, 30, 28}, this);
    HelpBtn->setIcon(helpGlyph());
    HelpBtn->setIconSize({18, 18});
    HelpBtn->setToolTip(QStringLiteral("Help"));
    HelpBtn->setAccessibleName(QStringLiteral("Help"));
}

CommandBar::CommandBar(int portItemCount, bool firstPortSelected, QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("Panel3"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    KilepBtn =
        makeButton(QStringLiteral("KilepBtn"), QStringLiteral("Kilépés"), {20, 10, 60, 28}, this);
    ComBtn = makeButton(QStringLiteral("ComBtn"), QStringLiteral("Com1"), {124, 10, 60, 28}, this);
    LetoltBtn = makeButton(QStringLiteral("LetoltBtn"), QStringLiteral("Letöltés"),
                           {234, 10, 61, 28}, this);
    LetoltBtn->setEnabled(false);

    Panel5 = new PortChooserPanel(portItemCount, firstPortSelected, this);
    Panel5->setGeometry(0, 0, 312, 46);
    Panel5->hide();
}

} // namespace zerwa
