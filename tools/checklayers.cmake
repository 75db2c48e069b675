# SPDX-License-Identifier: GPL-3.0-or-later
# The layer check: fails when a file includes a header of a layer it may not use.
#
#   cmake -DROOT=<project> -DQT_HEADERS=<qt include root> -DSTAMP=<file> "-DFILES=a;b;..."
#         -P checklayers.cmake
#
# A file's layer is the first folder under src/, tests/ or bench/ (core, document, gui, cli);
# anything else (src/programs, tests/install, the benchmarks' and tests' top level, tools/)
# may include what it builds or tests. Layers and what each may use:
#
#   core      core                     Qt Core, SerialPort
#   document  core, document           + Qt Gui
#   gui       core, document, gui      + Qt Widgets, Charts
#   cli       core, cli                Qt Core, SerialPort
#
# Tests and benchmarks may also use Qt Test. A project include is resolved the way the
# compiler does: "../x.h" and "x.h" beside the file first, then from the include roots src/
# and tests/, where the first folder names the layer. A Qt header is found by its module
# folder (<QtGui/QFont>) or by looking its class name up in QT_HEADERS.
cmake_minimum_required(VERSION 3.22)

set(project_layers core document gui cli)
set(allowed_core core)
set(allowed_document core document)
set(allowed_gui core document gui)
set(allowed_cli core cli)
set(qt_core Core SerialPort)
set(qt_document Core SerialPort Gui)
set(qt_gui Core SerialPort Gui Widgets Charts OpenGL OpenGLWidgets)
set(qt_cli Core SerialPort)

# The layer of a path relative to ROOT, or "any".
function(layer_of path out)
    set(layer any)
    if(path MATCHES "^(src|tests|bench)/([^/]+)/")
        if(CMAKE_MATCH_2 IN_LIST project_layers)
            set(layer ${CMAKE_MATCH_2})
        endif()
    endif()
    set(${out} ${layer} PARENT_SCOPE)
endfunction()

# The layer a quoted or angled include names, or "" when it is not a project header.
function(included_layer file name quoted out)
    get_filename_component(dir "${file}" DIRECTORY)
    set(result "")
    if(quoted AND (name MATCHES "^\\.\\.?/" OR EXISTS "${dir}/${name}"))
        get_filename_component(target "${dir}/${name}" ABSOLUTE)
        file(RELATIVE_PATH relative "${ROOT}" "${target}")
        layer_of("${relative}" result)
        if(result STREQUAL "any" AND NOT relative MATCHES "^(src|tests|bench)/")
            set(result "")
        endif()
    elseif(name MATCHES "^([^/.]+)/")
        if(CMAKE_MATCH_1 IN_LIST project_layers)
            set(result ${CMAKE_MATCH_1})
        endif()
    endif()
    set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The Qt module of an angled include, or "".
function(qt_module name out)
    set(module "")
    if(name MATCHES "^Qt([A-Za-z]+)/")
        set(module ${CMAKE_MATCH_1})
    elseif(name MATCHES "^Q[A-Za-z0-9]+$" AND QT_HEADERS)
        foreach(candidate Core Gui Widgets Charts SerialPort Test OpenGL OpenGLWidgets)
            if(EXISTS "${QT_HEADERS}/Qt${candidate}/${name}")
                set(module ${candidate})
                break()
            endif()
        endforeach()
    endif()
    set(${out} "${module}" PARENT_SCOPE)
endfunction()

set(offenders "")
foreach(file IN LISTS FILES)
    file(RELATIVE_PATH relative "${ROOT}" "${file}")
    layer_of("${relative}" layer)
    if(layer STREQUAL "any")
        continue()
    endif()
    set(allowed_qt ${qt_${layer}})
    if(relative MATCHES "^(tests|bench)/")
        list(APPEND allowed_qt Test)
    endif()
    # One list element per line, so that the index is the line number; brackets, semicolons
    # and backslashes would otherwise change how CMake splits the list.
    file(READ "${file}" content)
    foreach(special "\\" "[" "]" ";")
        string(REPLACE "${special}" "_" content "${content}")
    endforeach()
    string(REPLACE "\n" ";" lines "${content}")
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]+)[\">]")
            continue()
        endif()
        set(name "${CMAKE_MATCH_2}")
        set(quoted FALSE)
        if(CMAKE_MATCH_1 STREQUAL "\"")
            set(quoted TRUE)
        endif()
        included_layer("${file}" "${name}" ${quoted} target)
        if(target AND NOT target STREQUAL "any" AND NOT target IN_LIST allowed_${layer})
            list(APPEND offenders "${relative}:${number}: ${line}  (the ${layer} layer may not include the ${target} layer)")
        endif()
        if(NOT quoted)
            qt_module("${name}" module)
            if(module AND NOT module IN_LIST allowed_qt)
                list(APPEND offenders "${relative}:${number}: ${line}  (the ${layer} layer may not use Qt ${module})")
            endif()
        endif()
    endforeach()
endforeach()

if(offenders)
    list(JOIN offenders "\n  " text)
    message(FATAL_ERROR "Layer check failed:\n  ${text}")
endif()
file(TOUCH "${STAMP}")
