# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the posix-threads flavour,
# which the standard library's threads and std::filesystem need), and runs what the
# build runs (the tests, their discovery) under Wine through scripts/wine-run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)
set(CMAKE_AR ${mingw_prefix}-gcc-ar-posix CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${mingw_prefix}-gcc-ranlib-posix CACHE FILEPATH "Ranlib")

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The Win32 backend instead of Qt; one self-contained exe.
set(BRICKETING_WIN32 ON CACHE BOOL "Build the Win32 backend and the Windows program")
set(BRICKETING_QT OFF CACHE BOOL "Build the Qt 6 backend and the program")
set(BRICKETING_BENCH OFF CACHE BOOL "Build the benchmarks")

get_filename_component(bricketing_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${bricketing_root}/scripts/wine-run")
