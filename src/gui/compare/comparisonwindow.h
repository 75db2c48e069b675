// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace zerwa {

class MapComparison;

// "Összehasonlítás": a small window beside the main window (not modal) while a comparison is
// on. It names the reference, counts the differing cells and settings as they change, and
// steps to the next (F3) and previous (Shift+F3) difference. "Vége", Escape and its close
// button end the comparison.
class ComparisonWindow : public QWidget {
    Q_OBJECT
public:
    ComparisonWindow(const MapComparison& comparison, QWidget* mainWindow);

    // Shows the current reference and counts, beside the main window.
    void showBeside(const QWidget* mainWindow);

    QLabel* referenceLabel;
    QLabel* countLabel;
    QPushButton* previousButton; // "Előző (Shift+F3)"
    QPushButton* nextButton;     // "Következő (F3)"
    QPushButton* endButton;      // "Vége"

signals:
    void stepRequested(bool forward);
    void endRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showCounts();

    const MapComparison& m_comparison;
};

} // namespace zerwa
