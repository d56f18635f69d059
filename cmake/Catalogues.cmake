# The compiled catalogues: each po/<code>.po listed in po/LINGUAS is checked (msgfmt
# --check and the placeholder check) and compiled to Resources/locale/<code>.mo, where
# every build finds it at run time beside the pictures (the web packs Resources/, the
# installers copy it). A catalogue that fails either check fails the build.
find_program(BRICKETING_MSGFMT msgfmt REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

file(STRINGS ${PROJECT_SOURCE_DIR}/po/LINGUAS bricketing_languages REGEX "^[a-zA-Z_]+$")
set(bricketing_catalogue_folder ${PROJECT_SOURCE_DIR}/Resources/locale)
set(bricketing_catalogues)
foreach(code ${bricketing_languages})
    set(po ${PROJECT_SOURCE_DIR}/po/${code}.po)
    set(mo ${bricketing_catalogue_folder}/${code}.mo)
    add_custom_command(
        OUTPUT ${mo}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${bricketing_catalogue_folder}
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/po/check_placeholders.py ${po}
        COMMAND ${BRICKETING_MSGFMT} --check --output-file=${mo} ${po}
        DEPENDS ${po} ${PROJECT_SOURCE_DIR}/po/check_placeholders.py
        COMMENT "Checking and compiling the ${code} catalogue"
        VERBATIM)
    list(APPEND bricketing_catalogues ${mo})
endforeach()
add_custom_target(bricketing_catalogues ALL DEPENDS ${bricketing_catalogues})
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/po/LINGUAS)
