# Writes OUTPUT: a C++ file giving report/report.html and report/report.js as string
# views, so that the program carries its report page wherever it is copied.
file(READ ${HTML} html)
file(READ ${SCRIPT} script)
file(WRITE ${OUTPUT} "// Made by cmake/EmbedReport.cmake from report/; edit those files instead.
#include \"features/record/ReportPage.h\"

std::string_view reportTemplate() {
    return R\"bricket(${html})bricket\";
}

std::string_view reportScript() {
    return R\"bricket(${script})bricket\";
}
")
