# The Win32 backend's own tests, cross-built and run under Wine in the build's prefix.
# They open windows and dialogs, so they need an X display: scripts/test-windows
# starts a virtual one and runs CTest with it. Included from tests/CMakeLists.txt.
file(GLOB win32_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/*.h)
add_executable(win32_backend_tests ${win32_test_sources})
target_include_directories(win32_backend_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(win32_backend_tests PRIVATE bricketing_win32 bricketing_app GTest::gtest oleacc)
# Under Wine each start of a program costs a second or more: one run for the lot.
add_test(NAME win32_backend COMMAND win32_backend_tests WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
set_tests_properties(win32_backend PROPERTIES LABELS win32 TIMEOUT 300)

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
target_link_libraries(win32_accessible_reader PRIVATE oleacc oleaut32 ole32 user32)
set_target_properties(win32_accessible_reader PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
