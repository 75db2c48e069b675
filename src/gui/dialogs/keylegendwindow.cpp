// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/keylegendwindow.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zerwa {

namespace {

struct Entry {
    const char* keys; // a section title when `what` is empty
    const char* what;
};

// clang-format off
const Entry kEntries[] = {
    {"A táblázatban", ""},
    {"Nyilak, kattintás", "Másik cellára lép; az elhagyott cellát a program ellenőrzi"},
    {"Shift+nyilak, Shift+kattintás", "Cellák kijelölése"},
    {"Esc", "A cella visszakapja azt a szöveget, amely a cellába lépéskor benne volt"},
    {"Jobb egérgomb, Shift+F10, Menü", "A táblázat menüje: az oszlop emelése (Plusz) és csökkentése (Minusz)"},
    {"Ctrl+Enter (a számbillentyűzet Enterével is)", "Kitöltés: az aktuális cella ellenőrzése után a többi kijelölt cella is megkapja az értékét"},
    {"Ctrl+I", "Interpoláció a kijelölés négy sarkából (egy sorban vagy oszlopban a két végéből)"},
    {"Ctrl+M", "A Kijelölés ablak: hozzáadás, szorzás (%), interpoláció, simítás"},
    {"Ctrl+Shift+V", "A vágólapon lévő blokk értékeinek hozzáadása a cellákhoz, az aktuális cellától"},
    {"Szerkesztés", ""},
    {"Ctrl+Z", "Visszavonás"},
    {"Ctrl+Y, Ctrl+Shift+Z", "Ismétlés"},
    {"Ctrl+C", "A kijelölt cellák másolása (egy beállítás mezőben a mező kijelölt szövegéé)"},
    {"Ctrl+Shift+C", "A teljes map tábla másolása a fordulatszámokkal és a fejlécekkel"},
    {"Ctrl+V", "Beillesztés; a blokk bal felső sarka az aktuális cellába kerül"},
    {"Az ablakban", ""},
    {"Tab, Shift+Tab", "A következő, illetve az előző mezőre, listára vagy gombra lép"},
    {"Ctrl+L", "Letöltési napló"},
    {"Ctrl+D", "Összehasonlítás egy map fájllal"},
    {"Ctrl+Shift+D", "Összehasonlítás a legutóbbi sikeres letöltés táblájával"},
    {"F3, Shift+F3", "Összehasonlításkor a következő, illetve az előző eltérés"},
    {"Ctrl+H", "A cellák színezése érték szerint (be és ki)"},
    {"F1", "Ez az ablak"},
    {"Dupla kattintás a grafikonon", "A grafikon nagyítása, illetve visszaállítása"},
    {"Párbeszédablakokban", ""},
    {"Enter", "OK (javító ablak, Függvény, Kijelölés), illetve az üzenet kiemelt gombja"},
    {"Esc", "Mégse (Függvény, Kijelölés), illetve az üzenet bezárása"},
};
// clang-format on

const char* kSlopeFillMenu = "A táblázat menüje: az oszlop emelése (Plusz), csökkentése (Minusz) "
                             "és a lineáris kitöltés (Függvény)";

} // namespace

KeyLegendWindow::KeyLegendWindow(bool withSlopeFill, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("KeyLegendWindow"));
    setWindowTitle(QStringLiteral("Billentyűk"));
    keyTable = new QTableWidget(int(std::size(kEntries)), 2, this);
    keyTable->setHorizontalHeaderLabels({QStringLiteral("Billentyű"), QStringLiteral("Művelet")});
    keyTable->verticalHeader()->hide();
    keyTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    keyTable->setSelectionMode(QAbstractItemView::NoSelection);
    keyTable->setWordWrap(false);
    for (int row = 0; row < int(std::size(kEntries)); ++row) {
        const Entry& entry = kEntries[row];
        const bool menu = QByteArray(entry.keys).startsWith("Jobb egérgomb");
        auto* keys = new QTableWidgetItem(QString::fromUtf8(entry.keys));
        keyTable->setItem(row, 0, keys);
        if (*entry.what == '\0') { // a section title across both columns
            QFont bold = keys->font();
            bold.setBold(true);
            keys->setFont(bold);
            keyTable->setSpan(row, 0, 1, 2);
            continue;
        }
        keyTable->setItem(row, 1,
                          new QTableWidgetItem(QString::fromUtf8(
                              menu && withSlopeFill ? kSlopeFillMenu : entry.what)));
    }
    keyTable->resizeColumnsToContents();
    keyTable->horizontalHeader()->setStretchLastSection(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(keyTable);
    resize(keyTable->horizontalHeader()->length() + 40, 600);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

} // namespace zerwa
