// The report page put together: the template's three marks replaced by Chart.js, the
// data blocks (files and texts) and the report's script.
#include "features/record/ReportPage.h"

#include <cstdio>

#include "words/Words.h"

namespace {

// Every text report.js looks up (T("...") there), by its English source. A test checks
// that report.js asks for no text missing here.
std::vector<std::pair<std::string_view, std::u16string>> reportTexts() {
    return {
        {"Addition slip", tr("Addition slip")},
        {"Advanced", tr("Advanced")},
        {"Answered", tr("Answered")},
        {"Answered: {answer} r {remainder}", tr("Answered: {answer} r {remainder}")},
        {"Beginner", tr("Beginner")},
        {"Chunks", tr("Chunks")},
        {"Commonest slips", tr("Commonest slips")},
        {"Day", tr("Day")},
        {"Examples", tr("Examples")},
        {"Expert", tr("Expert")},
        {"Fewest steps", tr("Fewest steps")},
        {"Fewest steps (average)", tr("Fewest steps (average)")},
        {"Highest level that day", tr("Highest level that day")},
        {"How it ended", tr("How it ended")},
        {"Intermediate", tr("Intermediate")},
        {"Kind of line", tr("Kind of line")},
        {"Last questions", tr("Last questions")},
        {"Left unfinished", tr("Left unfinished")},
        {"Level", tr("Level")},
        {"Level over time", tr("Level over time")},
        {"Lines", tr("Lines")},
        {"More than is left", tr("More than is left")},
        {"Multiple", tr("Multiple")},
        {"No questions are recorded yet.", tr("No questions are recorded yet.")},
        {"No slips.", tr("No slips.")},
        {"Not quite", tr("Not quite")},
        {"Novice", tr("Novice")},
        {"One lot too few", tr("One lot too few")},
        {"One lot too many", tr("One lot too many")},
        {"Own question", tr("Own question")},
        {"Practice record", tr("Practice record")},
        {"Product", tr("Product")},
        {"Pupil", tr("Pupil")},
        {"Pupils", tr("Pupils")},
        {"Pupils: {pupils}. Questions: {questions}. From {first} to {last}.",
         tr("Pupils: {pupils}. Questions: {questions}. From {first} to {last}.")},
        {"Question", tr("Question")},
        {"Questions per day", tr("Questions per day")},
        {"Questions: {questions}. Days practised: {days}. Answered: {answered}.",
         tr("Questions: {questions}. Days practised: {days}. Answered: {answered}.")},
        {"Remainder", tr("Remainder")},
        {"Right first time (%)", tr("Right first time (%)")},
        {"Right first time, by kind of line", tr("Right first time, by kind of line")},
        {"Seconds", tr("Seconds")},
        {"Slip", tr("Slip")},
        {"Started", tr("Started")},
        {"Steps", tr("Steps")},
        {"Steps against the fewest steps", tr("Steps against the fewest steps")},
        {"Steps taken (average)", tr("Steps taken (average)")},
        {"Subtraction slip", tr("Subtraction slip")},
        {"Ten times too big", tr("Ten times too big")},
        {"Ten times too small", tr("Ten times too small")},
        {"The class", tr("The class")},
        {"Times", tr("Times")},
        {"Total", tr("Total")},
        {"Wrong entries", tr("Wrong entries")},
        {"remainder {expected} typed as {typed}", tr("remainder {expected} typed as {typed}")},
        {"total {expected} typed as {typed}", tr("total {expected} typed as {typed}")},
        {"{dividend} ÷ {divisor}", tr("{dividend} ÷ {divisor}")},
        {"{example}, once", tr("{example}, once")},
        {"{example}, {times} times", tr("{example}, {times} times")},
        {"{expected} typed as {typed}", tr("{expected} typed as {typed}")},
        {"{multiple} lots of {divisor} typed as {typed}",
         tr("{multiple} lots of {divisor} typed as {typed}")},
        {"{typed} lots of {divisor}, more than was left",
         tr("{typed} lots of {divisor}, more than was left")},
    };
}

void replaceMark(std::string& page, std::string_view mark, std::string_view with) {
    const std::size_t at = page.find(mark);
    if (at != std::string::npos) {
        page.replace(at, mark.size(), with);
    }
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string json = "\"";
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20 || c == '<' || c == '>' || c == '&') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string reportTextsJson() {
    const std::string language = words::currentLanguage();
    std::string json =
        "{\"lang\": " + jsonString(language.empty() ? "en" : language) + ", \"texts\": {";
    bool first = true;
    for (const auto& [english, text] : reportTexts()) {
        json += (first ? "" : ", ") + jsonString(english) + ": " + jsonString(words::toUtf8(text));
        first = false;
    }
    return json + "}}";
}

std::string reportFilesJson(const std::vector<ReportFile>& files) {
    std::string json = "[";
    for (std::size_t i = 0; i < files.size(); ++i) {
        json += (i == 0 ? "" : ",\n") + std::string("{\"name\": ") + jsonString(files[i].name) +
                ", \"text\": " + jsonString(files[i].text) + "}";
    }
    return json + "]";
}

std::string reportPage(const std::vector<ReportFile>& files, std::string_view chartScript) {
    std::string page(reportTemplate());
    replaceMark(page, "<!--@CHART@-->",
                chartScript.empty() ? std::string()
                                    : "<script>\n" + std::string(chartScript) + "\n</script>");
    replaceMark(page, "<!--@DATA@-->",
                "<script type=\"application/json\" id=\"record-files\">" + reportFilesJson(files) +
                    "</script>\n<script type=\"application/json\" id=\"report-texts\">" +
                    reportTextsJson() + "</script>");
    replaceMark(page, "<!--@REPORT@-->", "<script>\n" + std::string(reportScript()) + "</script>");
    return page;
}
