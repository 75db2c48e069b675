// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commandline.h"

int main(int argc, char** argv) {
    return zerwa::cli::run(argc, argv);
}
