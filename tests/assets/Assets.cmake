# Checks of the shipped files beside the code: pictures, help page, resource list and
# desktop entry; the committed pictures against a fresh render of their sources; and the
# installed layout. Included from tests/CMakeLists.txt.
find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND)
    message(WARNING "python3 not found: the asset checks are not registered")
    return()
endif()

set(bricketing_asset_check ${CMAKE_CURRENT_SOURCE_DIR}/assets/check_assets.py)

add_test(NAME assets_files COMMAND ${Python3_EXECUTABLE} ${bricketing_asset_check}
                                   ${PROJECT_SOURCE_DIR})
set_tests_properties(assets_files PROPERTIES LABELS assets)

# Re-rendering needs the art tools; without them only the committed files are checked.
find_program(BRICKETING_RSVG_CONVERT rsvg-convert)
find_program(BRICKETING_CONVERT convert)
if(BRICKETING_RSVG_CONVERT AND BRICKETING_CONVERT)
    add_test(NAME assets_match_their_sources
             COMMAND ${Python3_EXECUTABLE} ${bricketing_asset_check} ${PROJECT_SOURCE_DIR}
                     --rerender)
    set_tests_properties(assets_match_their_sources PROPERTIES LABELS assets TIMEOUT 300)
endif()

find_program(BRICKETING_DESKTOP_FILE_VALIDATE desktop-file-validate)
if(BRICKETING_DESKTOP_FILE_VALIDATE)
    add_test(NAME assets_desktop_entry_validates
             COMMAND ${BRICKETING_DESKTOP_FILE_VALIDATE}
                     ${PROJECT_SOURCE_DIR}/packaging/bricketing.desktop)
    set_tests_properties(assets_desktop_entry_validates PROPERTIES LABELS assets)
endif()

# Install into a scratch prefix inside the build tree, then check what landed where.
if(TARGET bricketing)
    set(bricketing_install_check ${CMAKE_CURRENT_BINARY_DIR}/install-check)
    add_test(NAME assets_install_clean
             COMMAND ${CMAKE_COMMAND} -E rm -rf ${bricketing_install_check})
    add_test(NAME assets_install
             COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR}
                     --prefix ${bricketing_install_check})
    add_test(NAME assets_installed_layout
             COMMAND ${Python3_EXECUTABLE} ${bricketing_asset_check} ${PROJECT_SOURCE_DIR}
                     --installed ${bricketing_install_check})
    set_tests_properties(assets_install_clean PROPERTIES LABELS assets
                         FIXTURES_SETUP bricketing_installed)
    set_tests_properties(assets_install PROPERTIES LABELS assets DEPENDS assets_install_clean
                         FIXTURES_SETUP bricketing_installed)
    set_tests_properties(assets_installed_layout PROPERTIES LABELS assets
                         FIXTURES_REQUIRED bricketing_installed)
endif()
