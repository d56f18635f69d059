# The Qt 6 backend of the platform layer and the program built on it.
file(GLOB qt_backend_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/qt/*.cpp
     ${PROJECT_SOURCE_DIR}/src/platform/qt/*.h)
list(FILTER qt_backend_sources EXCLUDE REGEX ".*/QtMain\\.cpp$")
file(GLOB qt_resource_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/resources/*.qrc)

add_library(bricketing_qt STATIC ${qt_backend_sources})
target_include_directories(bricketing_qt PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(bricketing_qt PUBLIC bricketing_platform bricketing_desktop bricketing_resources
                                           Qt6::Widgets Qt6::Multimedia)

qt_add_executable(bricketing ${PROJECT_SOURCE_DIR}/src/platform/qt/QtMain.cpp ${qt_resource_files})
target_link_libraries(bricketing PRIVATE bricketing_app bricketing_qt)
# The icon and the About picture are compiled in from the resource file.
set_target_properties(bricketing PROPERTIES OUTPUT_NAME bricketing AUTORCC ON)
