# Checks that the Windows program is one GUI-subsystem exe that loads no DLL beyond
# Windows' own, so it runs from a folder or a USB stick with nothing installed.
# Run as: cmake -DOBJDUMP=<objdump> -DPROGRAM=<exe> -P CheckImports.cmake
cmake_minimum_required(VERSION 3.25)
# Windows' own DLLs the program may use; anything else (the MinGW runtime's
# libstdc++-6.dll, libgcc_s_seh-1.dll, libwinpthread-1.dll above all) fails the check.
set(system_dlls advapi32.dll comctl32.dll comdlg32.dll gdi32.dll gdiplus.dll kernel32.dll
                msvcrt.dll oleacc.dll ole32.dll oleaut32.dll shcore.dll shell32.dll user32.dll uxtheme.dll winmm.dll)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot read ${PROGRAM}")
endif()
if(NOT headers MATCHES "Subsystem[ \t]+00000002")
    message(FATAL_ERROR "${PROGRAM} is not a GUI-subsystem program")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT imports)
    message(FATAL_ERROR "no imports found in ${PROGRAM}")
endif()
foreach(import IN LISTS imports)
    string(REPLACE "DLL Name: " "" dll "${import}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST system_dlls)
        message(FATAL_ERROR "${PROGRAM} needs ${dll}, which Windows does not bring")
    endif()
    message(STATUS "imports ${dll}")
endforeach()
