# The parts of the web backend with no browser calls (key names, dialog layout, text
# metrics, the settings mirror), which the unit tests under Node link on their own.
if(NOT TARGET bricketing_web_layout)
    set(web_layout_folder ${PROJECT_SOURCE_DIR}/src/platform/web)
    add_library(bricketing_web_layout STATIC ${web_layout_folder}/WebKeys.cpp
                                             ${web_layout_folder}/WebDialogLayout.cpp
                                             ${web_layout_folder}/WebTextMetrics.cpp
                                             ${web_layout_folder}/WebSettingsStore.cpp)
    target_include_directories(bricketing_web_layout PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(bricketing_web_layout PUBLIC bricketing_platform bricketing_resources)
endif()
