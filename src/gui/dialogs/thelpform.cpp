// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/thelpform.h"

#include "core/model/variantprofile.h"
#include "gui/dialogs/richtextdocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zerwa {

namespace {

constexpr int kMargin = 8;
const QSize kButtonSize(75, 25);

} // namespace

THelpForm::THelpForm(const VariantProfile& profile, const QString& startupDirectory,
                     QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Help"));
    // Help left open must not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildControls();
    resize(profile.helpWindowWidth, profile.helpWindowHeight);
    centreOnScreen();
    loadText(QDir(startupDirectory).filePath(profile.helpFileName));
}

void THelpForm::buildControls() {
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);

    RichEdit1 = new QTextEdit(Panel2);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    // Read-only, yet the reader can move through the text and copy from it with the keyboard.
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    EndhelpBtn = new QPushButton(QStringLiteral("Vissza"), Panel2);
    EndhelpBtn->setObjectName(QStringLiteral("EndhelpBtn"));
    EndhelpBtn->setFixedSize(kButtonSize);
    connect(EndhelpBtn, &QPushButton::clicked, this, &THelpForm::EndhelpBtnClick);

    // The viewer stretches with the window; the button stays at the bottom centre.
    auto* panelLayout = new QVBoxLayout(Panel2);
    panelLayout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    panelLayout->setSpacing(kMargin);
    panelLayout->addWidget(RichEdit1, 1);
    panelLayout->addWidget(EndhelpBtn, 0, Qt::AlignHCenter);

    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    windowLayout->addWidget(Panel2);
}

void THelpForm::loadText(const QString& path) {
    QFile file(path);
    // A help file that is not there, or cannot be read, is not an error of the program:
    // the window says so instead.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        RichEdit1->setPlainText(QStringLiteral("Nincs meg a Help file!"));
        return;
    }
    richtext::load(*RichEdit1->document(), file.read(kMaxHelpFileBytes));
    RichEdit1->moveCursor(QTextCursor::Start);
}

void THelpForm::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
}

void THelpForm::showHelp() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void THelpForm::EndhelpBtnClick() {
    close();
}

} // namespace zerwa
