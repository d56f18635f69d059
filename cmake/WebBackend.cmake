# The web backend of the platform layer and the program built on it with Emscripten:
# bricketing.js (a module factory, createBricketing), bricketing.wasm and
# bricketing.data (Data/levels.txt and the pictures, preloaded into the in-memory file
# system). scripts/build-web puts them into build-web/site/ with the page's files.
set(web_folder ${PROJECT_SOURCE_DIR}/src/platform/web)
file(GLOB web_backend_sources CONFIGURE_DEPENDS ${web_folder}/*.cpp ${web_folder}/*.h)
# The inline JS of WebBridge.cpp only reaches the link as an object of the program
# itself: nothing calls into it by a symbol an archive could resolve.
list(FILTER web_backend_sources EXCLUDE REGEX ".*/Web(Main|Bridge|Record)\\.cpp$")

include(${CMAKE_CURRENT_LIST_DIR}/WebLayout.cmake)

add_library(bricketing_web STATIC ${web_backend_sources})
target_include_directories(bricketing_web PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(bricketing_web PUBLIC bricketing_web_layout bricketing_platform
                                            bricketing_resources)

# The frame benchmark's measuring side drives a lesson, so it lives with the benchmarks;
# the page calls it through Module.benchmarkFrames (WebBench.js).
add_executable(bricketing_page ${web_folder}/WebMain.cpp ${web_folder}/WebBridge.cpp
                               ${web_folder}/WebRecord.cpp ${PROJECT_SOURCE_DIR}/bench/WebFrameBench.cpp)
target_link_libraries(bricketing_page PRIVATE bricketing_app bricketing_web)
set_target_properties(bricketing_page PROPERTIES OUTPUT_NAME bricketing SUFFIX ".js")

# Data/levels.txt and the pictures at their own size are packed into bricketing.data,
# file by file in name order (so that two builds pack the same bytes). The pictures at
# twice their size (Resources/2x/) are served as plain files, which the page fetches
# only on a screen that shows them (page.js); Help/ is served as plain files too.
file(GLOB web_preloaded CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/Resources/*.png)
list(SORT web_preloaded)
set(web_preload "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/Data/levels.txt@/Data/levels.txt")
foreach(picture ${web_preloaded})
    get_filename_component(picture_name ${picture} NAME)
    # Quoted: some pictures' names have a space.
    list(APPEND web_preload "SHELL:--preload-file \"${picture}@/Resources/${picture_name}\"")
endforeach()
# The compiled catalogues go in whole, as a folder. The cues are served as plain files
# (scripts/build-web), fetched once the first frame is up.
list(APPEND web_preload "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/Resources/locale@/Resources/locale")
# The browser side, one file per role; WebRuntime.js makes the shared state the others
# add to, so it comes first.
set(web_runtime_roles Runtime Input Drawing Pictures Dialogs Replay Storage Bench Layout Pad
                      Help Commands AccessibleText Record Sound ClassList)
set(web_runtime_files)
set(web_pre_js)
foreach(role ${web_runtime_roles})
    list(APPEND web_runtime_files ${web_folder}/Web${role}.js)
    list(APPEND web_pre_js "SHELL:--pre-js ${web_folder}/Web${role}.js")
endforeach()
set_property(TARGET bricketing_page APPEND PROPERTY LINK_DEPENDS
             ${web_runtime_files} ${PROJECT_SOURCE_DIR}/Data/levels.txt ${web_preloaded}
             ${bricketing_catalogues})

target_link_options(bricketing_page PRIVATE
    # The frame loop's 20 ms sleep and the modal calls yield to the browser.
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH
    # The smaller allocator: the program allocates little and keeps it, and every byte
    # of the module is downloaded before the first frame.
    -sMALLOC=emmalloc
    -sMODULARIZE -sEXPORT_NAME=createBricketing -sENVIRONMENT=web
    -sEXPORTED_FUNCTIONS=_main,_malloc,_free,_bricketing_benchmark,_bricketing_translate
    -sFILESYSTEM=1 -sFORCE_FILESYSTEM=1
    ${web_pre_js}
    ${web_preload})
