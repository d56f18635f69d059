# Runs the program with --version and then --help where no window can open (no display
# named, Qt told to use X11): each must print its answer on standard output and exit 0
# at once. Run as: cmake -DPROGRAM=<program> -DVERSION=<version> -P CommandLine.cmake
foreach(option --version --help)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                QT_QPA_PLATFORM=xcb ${PROGRAM} ${option}
        RESULT_VARIABLE code OUTPUT_VARIABLE printed ERROR_VARIABLE said TIMEOUT 60)
    if(NOT code EQUAL 0)
        message(FATAL_ERROR "${option} ended with ${code}: ${said}")
    endif()
    if(option STREQUAL "--version" AND NOT printed STREQUAL "Bricketing ${VERSION}\n")
        message(FATAL_ERROR "--version printed '${printed}'")
    endif()
    if(option STREQUAL "--help" AND NOT printed MATCHES "^Usage: bricketing .*--version")
        message(FATAL_ERROR "--help printed '${printed}'")
    endif()
endforeach()
