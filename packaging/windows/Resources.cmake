# Adds the Windows resources to the program `bricketing`: the icon, the About picture,
# the version information (from the project's version) and the application manifest,
# compiled by windres. The Windows build includes this file after it has made the
# target.
if(NOT TARGET bricketing)
    return()
endif()

if(NOT CMAKE_RC_COMPILER)
    set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
endif()
enable_language(RC)

# Windows versions have four parts; the project's missing ones are 0.
set(bricketing_version_numbers)
foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        list(APPEND bricketing_version_numbers 0)
    else()
        list(APPEND bricketing_version_numbers ${PROJECT_VERSION_${part}})
    endif()
endforeach()
list(JOIN bricketing_version_numbers "," BRICKETING_FILE_VERSION_COMMAS)
list(JOIN bricketing_version_numbers "." BRICKETING_FILE_VERSION_DOTS)

set(bricketing_resource_dir ${CMAKE_BINARY_DIR}/packaging/windows)
set(BRICKETING_ICON ${PROJECT_SOURCE_DIR}/src/resources/bricketing.ico)
set(BRICKETING_ABOUT_BITMAP ${PROJECT_SOURCE_DIR}/src/resources/about.bmp)
set(BRICKETING_MANIFEST ${bricketing_resource_dir}/bricketing.manifest)
configure_file(${CMAKE_CURRENT_LIST_DIR}/bricketing.manifest ${BRICKETING_MANIFEST} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/bricketing.rc.in
               ${bricketing_resource_dir}/bricketing.rc @ONLY)

target_sources(bricketing PRIVATE ${bricketing_resource_dir}/bricketing.rc)
# windres reads these itself, so the build does not see them as inputs otherwise.
set_source_files_properties(${bricketing_resource_dir}/bricketing.rc PROPERTIES
    OBJECT_DEPENDS "${BRICKETING_ICON};${BRICKETING_ABOUT_BITMAP};${BRICKETING_MANIFEST}")
