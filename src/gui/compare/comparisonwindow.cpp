// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/compare/comparisonwindow.h"

#include "document/compare/mapcomparison.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace zerwa {

namespace {

constexpr int kWidth = 300;
constexpr int kGap = 8;

} // namespace

ComparisonWindow::ComparisonWindow(const MapComparison& comparison, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window)
    , m_comparison(comparison) {
    setObjectName(QStringLiteral("ComparisonWindow"));
    setWindowTitle(QStringLiteral("Összehasonlítás"));
    referenceLabel = new QLabel(this);
    referenceLabel->setTextFormat(Qt::PlainText);
    countLabel = new QLabel(this);
    previousButton = new QPushButton(QStringLiteral("Előző (Shift+F3)"), this);
    nextButton = new QPushButton(QStringLiteral("Következő (F3)"), this);
    endButton = new QPushButton(QStringLiteral("Vége"), this);
    for (QPushButton* button : {previousButton, nextButton, endButton})
        button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {previousButton, nextButton, endButton})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(referenceLabel);
    layout->addWidget(countLabel);
    layout->addLayout(buttons);
    setFixedWidth(qMax(kWidth, layout->sizeHint().width()));

    connect(previousButton, &QPushButton::clicked, this, [this] { emit stepRequested(false); });
    connect(nextButton, &QPushButton::clicked, this, [this] { emit stepRequested(true); });
    connect(endButton, &QPushButton::clicked, this, &ComparisonWindow::endRequested);
    auto key = [this](const QKeySequence& keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::Key_F3), [this] { emit stepRequested(true); });
    key(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { emit stepRequested(false); });
    key(QKeySequence(Qt::Key_Escape), [this] { emit endRequested(); });
    connect(&comparison, &MapComparison::cellMarksChanged, this, &ComparisonWindow::showCounts);
    connect(&comparison, &MapComparison::settingMarksChanged, this, &ComparisonWindow::showCounts);
}

void ComparisonWindow::showBeside(const QWidget* mainWindow) {
    // A long path is cut in the middle; the tooltip holds all of it.
    const QString reference = QStringLiteral("Referencia: ") + m_comparison.referenceName();
    const int labelWidth =
        width() - layout()->contentsMargins().left() - layout()->contentsMargins().right();
    referenceLabel->setText(
        referenceLabel->fontMetrics().elidedText(reference, Qt::ElideMiddle, labelWidth));
    referenceLabel->setToolTip(reference);
    showCounts();
    adjustSize();
    // To the right of the main window where the screen has room, else to its left, else over
    // its lower right corner.
    const QRect main = mainWindow->frameGeometry();
    const QScreen* screen = mainWindow->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect(main.topLeft(), main.size());
    QPoint at(main.right() + kGap, main.top());
    if (at.x() + width() > room.right())
        at.setX(main.left() - kGap - width());
    if (at.x() < room.left())
        at = main.bottomRight() - QPoint(width() + kGap, height() + 4 * kGap);
    move(at);
    show();
}

void ComparisonWindow::showCounts() {
    const MapDifferences& found = m_comparison.differences();
    countLabel->setText(found.isEmpty()
                            ? QStringLiteral("Nincs eltérés.")
                            : QStringLiteral("Eltérő cellák: %1\nEltérő beállítások: %2")
                                  .arg(found.cells.size())
                                  .arg(found.settings.size()));
    previousButton->setEnabled(!found.isEmpty());
    nextButton->setEnabled(!found.isEmpty());
}

void ComparisonWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit endRequested();
}

} // namespace zerwa
