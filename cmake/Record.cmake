# The practice record (src/features/record) with the report page's template and script
# from report/ built in.
bricketing_library(bricketing_record features/record bricketing_events bricketing_words
                   bricketing_platform)
set(report_embedded ${CMAKE_CURRENT_BINARY_DIR}/generated/ReportFiles.cpp)
add_custom_command(
    OUTPUT ${report_embedded}
    COMMAND ${CMAKE_COMMAND} -DHTML=${PROJECT_SOURCE_DIR}/report/report.html
            -DSCRIPT=${PROJECT_SOURCE_DIR}/report/report.js -DOUTPUT=${report_embedded}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedReport.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/report/report.html ${PROJECT_SOURCE_DIR}/report/report.js
            ${PROJECT_SOURCE_DIR}/cmake/EmbedReport.cmake
    COMMENT "Building the report page into the program")
target_sources(bricketing_record PRIVATE ${report_embedded})
if(TARGET bricketing_desktop)
    target_link_libraries(bricketing_desktop PUBLIC bricketing_record)
endif()
