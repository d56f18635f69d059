# The end-to-end suite: every scenario runs the built program on its own Xvfb display,
# drives it with xdotool and checks screenshots, files and exit codes. Screenshots of
# each stage are kept in e2e-shots/<scenario> under the build folder.

# --version and --help answered without a display: no window, no Xvfb.
add_test(NAME e2e_command_line
         COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:bricketing> -DVERSION=${PROJECT_VERSION}
                 -P ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cmake)
set_tests_properties(e2e_command_line PROPERTIES LABELS e2e TIMEOUT 120)

# Debian's python3-xlib belongs to the system's Python, which may not be the first
# python3 on the path.
find_program(BRICKETING_E2E_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(BRICKETING_E2E_PYTHON NAMES python3)
find_program(BRICKETING_XVFB Xvfb)
find_program(BRICKETING_XDOTOOL xdotool)
find_program(BRICKETING_IMPORT import)
foreach(tool BRICKETING_E2E_PYTHON BRICKETING_XVFB BRICKETING_XDOTOOL BRICKETING_IMPORT)
    if(NOT ${tool})
        message(STATUS "End-to-end tests left out: ${tool} not found (scripts/setup installs it)")
        return()
    endif()
endforeach()

set(bricketing_e2e_scenarios window create_question solve hover_restart settings exit
                              french_keyboard escape_twice dialog_sizes screen_reader
                              tutor record sound class_list teacher_locks dutch)
foreach(scenario IN LISTS bricketing_e2e_scenarios)
    add_test(NAME e2e_${scenario}
             COMMAND ${BRICKETING_E2E_PYTHON} -B ${CMAKE_CURRENT_LIST_DIR}/run_scenario.py
                     ${scenario} --program $<TARGET_FILE:bricketing> --source ${PROJECT_SOURCE_DIR}
                     --shots ${CMAKE_BINARY_DIR}/e2e-shots/${scenario})
    set_tests_properties(e2e_${scenario} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()

# Orca reading the program aloud, on a session bus of its own.
find_program(BRICKETING_DBUS_RUN_SESSION dbus-run-session)
find_program(BRICKETING_ORCA orca)
if(BRICKETING_DBUS_RUN_SESSION AND BRICKETING_ORCA)
    add_test(NAME e2e_orca
             COMMAND ${BRICKETING_DBUS_RUN_SESSION} -- ${BRICKETING_E2E_PYTHON} -B
                     ${CMAKE_CURRENT_LIST_DIR}/run_scenario.py orca --program $<TARGET_FILE:bricketing>
                     --source ${PROJECT_SOURCE_DIR} --shots ${CMAKE_BINARY_DIR}/e2e-shots/orca)
    set_tests_properties(e2e_orca PROPERTIES LABELS e2e TIMEOUT 300)
else()
    message(STATUS "The Orca test left out: dbus-run-session or orca not found (scripts/setup)")
endif()

# The program installed by the assets_install test, started from an empty folder.
if(TEST assets_install)
    add_test(NAME e2e_installed
             COMMAND ${BRICKETING_E2E_PYTHON} -B ${CMAKE_CURRENT_LIST_DIR}/run_scenario.py
                     installed --program ${bricketing_install_check}/bin/bricketing
                     --source ${PROJECT_SOURCE_DIR} --shots ${CMAKE_BINARY_DIR}/e2e-shots/installed)
    set_tests_properties(e2e_installed PROPERTIES LABELS e2e TIMEOUT 180
                         FIXTURES_REQUIRED bricketing_installed)
endif()

# The driver's own instruments (screenshots, colour search, text checks, waits).
add_test(NAME e2e_driver COMMAND ${BRICKETING_E2E_PYTHON} -B -m unittest -v test_driver
         WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR})
set_tests_properties(e2e_driver PROPERTIES LABELS e2e TIMEOUT 60)
