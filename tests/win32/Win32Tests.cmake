# The Win32 backend's own tests, cross-built and run under Wine in the build's prefix.
# They open windows and dialogs, so they need an X display: scripts/test-windows
# starts a virtual one and runs CTest with it. Included from tests/CMakeLists.txt.
file(GLOB win32_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/*.h)
add_executable(win32_backend_tests ${win32_test_sources})
target_include_directories(win32_backend_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(win32_backend_tests PRIVATE bricketing_win32 bricketing_app GTest::gtest oleacc)
# The About picture (bitmap 118), stored as the program stores it, for the dialog tests.
if(CMAKE_RC_COMPILER_LOADED OR CMAKE_RC_COMPILER)
    enable_language(RC)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/win32_test_resources.rc
         "118 BITMAP \"${PROJECT_SOURCE_DIR}/src/resources/about.bmp\"\n")
    target_sources(win32_backend_tests PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/win32_test_resources.rc)
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/win32_test_resources.rc PROPERTIES
        OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/src/resources/about.bmp)
endif()
# Under Wine each start of a program costs a second or more: one run for the lot.
add_test(NAME win32_backend COMMAND win32_backend_tests WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
set_tests_properties(win32_backend PROPERTIES LABELS win32 TIMEOUT 300)

# --version answered on standard output at once, without a window.
add_test(NAME win32_program_answers_version COMMAND bricketing --version)
set_tests_properties(win32_program_answers_version PROPERTIES LABELS win32 TIMEOUT 120
                     PASS_REGULAR_EXPRESSION "^Bricketing ${PROJECT_VERSION}\r?\n$")

find_program(BRICKETING_OBJDUMP x86_64-w64-mingw32-objdump)
if(BRICKETING_OBJDUMP)
    add_test(NAME win32_program_needs_only_system_dlls
             COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${BRICKETING_OBJDUMP}
                     -DPROGRAM=$<TARGET_FILE:bricketing> -P ${CMAKE_CURRENT_LIST_DIR}/CheckImports.cmake)
    set_tests_properties(win32_program_needs_only_system_dlls PROPERTIES LABELS win32)
endif()

# The reader the Windows end-to-end runs ask for the program window's accessible object
# from another process, as a screen reader does (tests/windows).
add_executable(win32_accessible_reader ${PROJECT_SOURCE_DIR}/tests/windows/reader/AccessibleReader.cpp)
target_link_libraries(win32_accessible_reader PRIVATE oleacc oleaut32 ole32 user32 shell32)
set_target_properties(win32_accessible_reader PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
