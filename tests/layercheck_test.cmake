# SPDX-License-Identifier: GPL-3.0-or-later
# The layer check refuses one include of each forbidden kind, naming the file and line, and
# lets the allowed ones through.
#   cmake -DCHECK=<checklayers.cmake> -DWORK=<empty folder> -DQT_HEADERS=<qt include root> -P
cmake_minimum_required(VERSION 3.22)

# Each case: the file (relative to a fresh project tree), then the include line.
set(refused
    "src/core/model/a.cpp|#include \"document/model/mapdocument.h\""
    "src/core/link/a.cpp|#include \"gui/mainwindow/tform1.h\""
    "src/core/storage/a.cpp|#include \"cli/options.h\""
    "src/core/model/b.cpp|#include \"../../gui/chart/chartmirror.h\""
    "src/core/model/c.cpp|#include <QFont>"
    "src/core/model/d.cpp|#include <QtWidgets/QWidget>"
    "src/document/model/a.cpp|#include \"gui/mainwindow/mapgrid.h\""
    "src/document/link/a.cpp|#include \"cli/portargument.h\""
    "src/document/model/b.cpp|#include \"../../cli/options.h\""
    "src/document/session/a.cpp|#include <QWidget>"
    "src/gui/mainwindow/a.cpp|#include \"cli/options.h\""
    "src/gui/dialogs/a.cpp|#include \"../../cli/hexdump.h\""
    "src/cli/a.cpp|#include \"document/model/mapdocument.h\""
    "src/cli/b.cpp|#include \"gui/dialogs/thelpform.h\""
    "src/cli/c.cpp|#include <QUndoStack>"
    "tests/core/model/a_test.cpp|#include \"document/model/mapedit.h\""
    "tests/cli/a_test.cpp|#include \"gui/mainwindow/tform1.h\""
    "bench/core/a.cpp|#  include \"gui/mainwindow/tform1.h\"")
set(allowed
    "src/core/model/e.cpp|#include \"../storage/mapfile.h\""
    "src/core/model/f.cpp|#include <QSerialPort>"
    "src/document/model/c.cpp|#include \"core/model/maptable.h\""
    "src/document/model/d.cpp|#include <QUndoStack>"
    "src/gui/mainwindow/b.cpp|#include \"document/model/mapdocument.h\""
    "src/gui/chart/a.cpp|#include <QChartView>"
    "src/cli/d.cpp|#include \"core/link/downloadframe.h\""
    "src/programs/a.cpp|#include \"gui/mainwindow/programentry.h\""
    "tests/gui/mainwindow/a_test.cpp|#include <QTest>"
    "tests/install/a.cpp|#include \"cli/options.h\""
    "tools/a.cpp|#include \"gui/mainwindow/tform1.h\"")

function(run_check case expect_refusal)
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 path)
    list(GET parts 1 line)
    file(REMOVE_RECURSE "${WORK}")
    # Two lines before the include, so that the reported line number is checked.
    file(WRITE "${WORK}/${path}" "// a file\n\n${line}\n")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} -DQT_HEADERS=${QT_HEADERS}
                -DSTAMP=${WORK}/stamp "-DFILES=${WORK}/${path}" -P ${CHECK}
        RESULT_VARIABLE result ERROR_VARIABLE output)
    if(expect_refusal)
        if(result EQUAL 0 OR NOT output MATCHES "${path}:3: ")
            message(SEND_ERROR "not refused as ${path}:3: ${line}\n${output}")
        endif()
    elseif(NOT result EQUAL 0)
        message(SEND_ERROR "refused: ${path}: ${line}\n${output}")
    endif()
endfunction()

foreach(case IN LISTS refused)
    run_check("${case}" TRUE)
endforeach()
foreach(case IN LISTS allowed)
    run_check("${case}" FALSE)
endforeach()
