// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/variantprofiles.h"
#include "gui/mainwindow/programentry.h"

int main(int argc, char** argv) {
    return zerwa::runProgram(zerwa::profiles::zerwa8(), argc, argv);
}
