# The Win32 + GDI+ backend of the platform layer and the Windows program built on it:
# one GUI-subsystem exe with a wide entry point, linked statically against the
# compiler's runtime so it needs no DLL beyond Windows' own. Built with the MinGW-w64
# toolchain in cmake/WindowsToolchain.cmake; whatever the build or the tests run goes
# through Wine (scripts/wine-run, with a prefix of its own in the build folder).
if(NOT WIN32)
    message(FATAL_ERROR "The Win32 backend needs a Windows compiler: configure with "
                        "-DCMAKE_TOOLCHAIN_FILE=cmake/WindowsToolchain.cmake")
endif()

set(BRICKETING_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix
    CACHE PATH "The Wine prefix the build's programs and tests run in")
# Unmanaged windows: the tests run under a bare Xvfb with no window manager to wait for.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run
                                  --prefix ${BRICKETING_WINE_PREFIX} --unmanaged)

# Wide Win32 calls throughout; no min/max macros; Windows 7 headers as the floor (the
# newer DPI calls are looked up at run time).
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
# One exe with no DLLs beyond the system's: the C++ runtime, libgcc and winpthread in.
add_link_options(-static -static-libgcc -static-libstdc++)
# No link time in the program's header: the same source links to the same bytes.
add_link_options(-Wl,--no-insert-timestamp)

file(GLOB win32_backend_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/win32/*.cpp
     ${PROJECT_SOURCE_DIR}/src/platform/win32/*.h)
list(FILTER win32_backend_sources EXCLUDE REGEX ".*/Win32Main\\.cpp$")

add_library(bricketing_win32 STATIC ${win32_backend_sources})
target_include_directories(bricketing_win32 PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(bricketing_win32 PUBLIC bricketing_platform bricketing_desktop bricketing_resources
                                              gdiplus comctl32 shell32 oleacc oleaut32 ole32 user32 gdi32 winmm)

add_executable(bricketing WIN32 ${PROJECT_SOURCE_DIR}/src/platform/win32/Win32Main.cpp)
target_link_libraries(bricketing PRIVATE bricketing_app bricketing_win32)
target_link_options(bricketing PRIVATE -municode -mwindows)
# Copied to build-windows/bricketing.exe whatever the generator's folder layout.
set_target_properties(bricketing PROPERTIES OUTPUT_NAME bricketing RUNTIME_OUTPUT_DIRECTORY
                                                                   ${CMAKE_BINARY_DIR})

# The icon, the About picture, version information and the manifest, when the
# packaging side provides them (it adds its .rc to the target bricketing).
include(${PROJECT_SOURCE_DIR}/packaging/windows/Resources.cmake OPTIONAL)

# Unit tests of POSIX file ownership, links and signals, which Windows does not have.
set(BRICKETING_SKIPPED_UNIT_TESTS "/FileRewritePosixTest\\.cpp$")

# GoogleTest from Debian's sources, built with the cross compiler for the tests.
if(BRICKETING_TESTS AND NOT TARGET GTest::gtest)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(gtest_target gtest gtest_main gmock gmock_main)
        # Third-party code: the project's warning flags are not its to meet.
        target_compile_options(${gtest_target} PRIVATE -w)
    endforeach()
endif()
