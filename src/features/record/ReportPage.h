// The teacher's report page: report/report.html with report/report.js (both built into
// the program), the record's CSV files as they are, and the report's texts in the
// pupil's language. The same template and script make the web's report.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One record file for the report: a name whose folder tells which files belong together
// (a pupil's pair sits in one folder), and its whole text.
struct ReportFile {
    std::string name;
    std::string text;
};

// The English source of every text report.js looks up, with its text in the pupil's
// language, as JSON: {"lang": "en", "texts": {"Practice record": "...", ...}}.
std::string reportTextsJson();
// The files as JSON: [{"name": "...", "text": "..."}, ...], safe inside a script element.
std::string reportFilesJson(const std::vector<ReportFile>& files);
// Text as a JSON string, with "<" escaped so that it cannot end a script element.
std::string jsonString(std::string_view text);

std::string_view reportTemplate();
std::string_view reportScript();

// The whole page. chartScript: Chart.js itself, put inside the page so that it opens
// from file:// without a network; empty leaves the charts out (their tables stay).
std::string reportPage(const std::vector<ReportFile>& files, std::string_view chartScript);
