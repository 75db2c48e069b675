#pragma once

#include "mainwindow/buttonbars.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/tform1.h"

#include <QComboBox>
#include <QPushButton>

namespace zerwa::test {

// Everything a map read or save may change on the main window.
struct WindowState {
    MapTable table;
    SettingsBlock settings;
    int cylinderIndex;
    int inputPolarityIndex;
    int outputPolarityIndex;
    QString caption;
    QString mapFileName;
    bool downloadEnabled;

    friend bool operator==(const WindowState&, const WindowState&) = default;
};

inline WindowState stateOf(const TForm1& form) {
    return {form.table(),
            form.Panel1->settings(),
            form.Panel1->ComboBox1->currentIndex(),
            form.Panel1->ComboBox3->currentIndex(),
            form.Panel1->ComboBox4->currentIndex(),
            form.windowTitle(),
            form.currentMapFileName(),
            form.LetoltBtn->isEnabled()};
}

} // namespace zerwa::test
