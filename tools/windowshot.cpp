// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of one X window (by id) as PNG: windowshot <window-id> <out.png>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: windowshot <window-id> <out.png>\n");
        return 2;
    }
    bool ok = false;
    const WId window = QString::fromLatin1(argv[1]).toULongLong(&ok, 0);
    if (!ok)
        return 2;
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "could not save the window picture\n");
        return 1;
    }
    return 0;
}
