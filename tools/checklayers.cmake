# Fails when a widget-free source includes a header of a window folder (gui/) or a Qt Widgets
# or Charts header. Run by the build; FILES is the list of sources.
set(offenders "")
foreach(file IN LISTS FILES)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
        if(line MATCHES "[\"<]gui/"
           OR line MATCHES "<Q(Widget|Dialog|MainWindow|Chart|ChartView|LineSeries|MessageBox|PushButton|LineEdit|ComboBox|Label|Frame|TableView|Menu|Action|Application)>"
           OR line MATCHES "<Qt(Widgets|Charts)/")
            list(APPEND offenders "${file}: ${line}")
        endif()
    endforeach()
endforeach()
if(offenders)
    list(JOIN offenders "\n  " text)
    message(FATAL_ERROR "A widget-free source includes a window header:\n  ${text}")
endif()
file(TOUCH "${STAMP}")
