# The platform-neutral unit tests (tests/unit with tests/fakes) and the web backend's
# own tests (tests/webunit), built with Emscripten and run under Node. GoogleTest is
# built from Debian's sources with the same compiler. Each program reads the real file
# system (NODERAWFS) from the source tree, as the native tests do.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

find_program(NODE_PROGRAM node REQUIRED)

set(test_folder ${PROJECT_SOURCE_DIR}/tests)
file(GLOB web_fake_sources CONFIGURE_DEPENDS ${test_folder}/fakes/*.cpp)
add_library(bricketing_fakes STATIC ${web_fake_sources})
target_include_directories(bricketing_fakes PUBLIC ${test_folder})
target_link_libraries(bricketing_fakes PUBLIC bricketing_platform)

# Tests that need what Node's emulation of standard error does not give: gtest's
# capture of file descriptor 2 (output reaches Node's console instead). The native
# builds run these tests.
set(node_excluded_lesson
    "StartupProblems.*")

function(bricketing_node_tests name sources)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARGN} bricketing_fakes gtest_main gmock)
    set_target_properties(${name} PROPERTIES SUFFIX ".js")
    target_link_options(${name} PRIVATE -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH -sEXIT_RUNTIME=1
                        -sENVIRONMENT=node)
    # Node's own fetch cannot load the .wasm from a file path; its file reader can.
    set(filter)
    if(DEFINED node_excluded_${folder_name})
        list(JOIN node_excluded_${folder_name} ":" excluded)
        set(filter "--gtest_filter=-${excluded}")
    endif()
    add_test(NAME ${name} COMMAND ${NODE_PROGRAM} --no-experimental-fetch
                                  $<TARGET_FILE:${name}> ${filter}
             WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
    set_tests_properties(${name} PROPERTIES LABELS web TIMEOUT 300)
endfunction()

foreach(pair platform:bricketing_platform frames:bricketing_frames widgets:bricketing_widgets
             board:bricketing_board lesson:bricketing_lesson menu:bricketing_menu app:bricketing_app
             narration:bricketing_narration)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 folder)
    list(GET pair 1 library)
    file(GLOB sources CONFIGURE_DEPENDS ${test_folder}/unit/${folder}/*.cpp)
    if(sources)
        set(folder_name ${folder})
        bricketing_node_tests(node_unit_${folder} "${sources}" ${library})
    endif()
endforeach()
# The command-line test compares the answers with the project's version.
if(TARGET node_unit_app)
    target_compile_definitions(node_unit_app PRIVATE BRICKETING_TEST_VERSION="${PROJECT_VERSION}"
                                                     BRICKETING_TEST_VERSION_U=u"${PROJECT_VERSION}")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/WebLayout.cmake)
file(GLOB web_unit_sources CONFIGURE_DEPENDS ${test_folder}/webunit/*.cpp)
if(web_unit_sources)
    set(folder_name webunit)
    bricketing_node_tests(node_web_backend "${web_unit_sources}" bricketing_web_layout
                          bricketing_app)
endif()
