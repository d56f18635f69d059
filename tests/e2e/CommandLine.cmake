# Runs the program with --version and then --help where no window can open (no display
# named, Qt told to use X11): each must print its answer on standard output and exit 0
# at once, in the desktop's language (English, then Dutch for --help).
# Run as: cmake -DPROGRAM=<program> -DVERSION=<version> -P CommandLine.cmake
foreach(run "--version;en" "--help;en" "--help;nl")
    list(GET run 0 option)
    list(GET run 1 language)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANGUAGE=${language} ${PROGRAM} ${option}
        RESULT_VARIABLE code OUTPUT_VARIABLE printed ERROR_VARIABLE said TIMEOUT 60)
    if(NOT code EQUAL 0)
        message(FATAL_ERROR "${option} in ${language} ended with ${code}: ${said}")
    endif()
    if(option STREQUAL "--version" AND NOT printed STREQUAL "Bricketing ${VERSION}\n")
        message(FATAL_ERROR "--version printed '${printed}'")
    endif()
    if(run STREQUAL "--help;en" AND NOT printed MATCHES "^Usage: bricketing .*--version")
        message(FATAL_ERROR "--help printed '${printed}'")
    endif()
    if(run STREQUAL "--help;nl" AND NOT printed MATCHES "^Gebruik: bricketing .*hapmethode")
        message(FATAL_ERROR "--help in Dutch printed '${printed}'")
    endif()
endforeach()
