# Writes the settings every package and install ships, Data/settings.txt as committed,
# to OUTPUT. The working tree's Data/settings.txt is no source for them: a copy run from
# the source tree is a portable copy and rewrites that file whenever someone tries the
# Settings dialog. In a git checkout the file comes from HEAD; a tree without git
# history (an unpacked source archive) ships its file as it stands.
#
#     cmake -DSOURCE_DIR=<repository> -DOUTPUT=<file> -P cmake/ShippedSettings.cmake
#
# Install.cmake includes it at install time with the same two variables set.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR OR NOT OUTPUT)
    message(FATAL_ERROR "ShippedSettings.cmake needs SOURCE_DIR and OUTPUT")
endif()

set(shipped_settings_tree_file "${SOURCE_DIR}/Data/settings.txt")
find_program(shipped_settings_git git)
set(shipped_settings_in_checkout FALSE)
if(shipped_settings_git)
    # safe.directory: a root install (sudo cmake --install) of a tree the developer owns
    # must still read it rather than fall back to the working tree.
    set(shipped_settings_git_in_source "${shipped_settings_git}" -c "safe.directory=*" -C
                                       "${SOURCE_DIR}")
    execute_process(
        COMMAND ${shipped_settings_git_in_source} ls-files --error-unmatch -- Data/settings.txt
        RESULT_VARIABLE shipped_settings_result OUTPUT_QUIET ERROR_QUIET)
    if(shipped_settings_result EQUAL 0)
        set(shipped_settings_in_checkout TRUE)
    endif()
elseif(EXISTS "${SOURCE_DIR}/.git")
    message(FATAL_ERROR "${SOURCE_DIR} is a git checkout, and git is needed to read the "
                        "committed Data/settings.txt; install git or use a source archive")
endif()

get_filename_component(shipped_settings_folder "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${shipped_settings_folder}")
if(shipped_settings_in_checkout)
    # HEAD:./ names the file relative to SOURCE_DIR, wherever the repository's top is.
    execute_process(
        COMMAND ${shipped_settings_git_in_source} show "HEAD:./Data/settings.txt"
        OUTPUT_FILE "${OUTPUT}"
        RESULT_VARIABLE shipped_settings_result ERROR_VARIABLE shipped_settings_error)
    if(NOT shipped_settings_result EQUAL 0)
        file(REMOVE "${OUTPUT}")
        message(FATAL_ERROR "cannot read the committed Data/settings.txt from ${SOURCE_DIR}: "
                            "${shipped_settings_error}")
    endif()
    file(SHA256 "${OUTPUT}" shipped_settings_committed)
    if(EXISTS "${shipped_settings_tree_file}")
        file(SHA256 "${shipped_settings_tree_file}" shipped_settings_tree)
    endif()
    if(NOT shipped_settings_committed STREQUAL shipped_settings_tree)
        message(STATUS "Data/settings.txt differs from the committed one (the program was "
                       "tried out here); shipping the committed defaults")
    endif()
else()
    if(NOT EXISTS "${shipped_settings_tree_file}")
        message(FATAL_ERROR "${shipped_settings_tree_file} is missing")
    endif()
    file(COPY_FILE "${shipped_settings_tree_file}" "${OUTPUT}")
endif()
