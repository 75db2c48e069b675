#include "mainwindow/programentry.h"
#include "model/variantprofiles.h"

int main(int argc, char** argv) {
    return zerwa::runProgram(zerwa::profiles::zerwa4(), argc, argv);
}
