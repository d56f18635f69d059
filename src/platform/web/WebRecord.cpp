// The practice record in the browser: a record store over WebRecord.js (IndexedDB), the
// pupil "this device", the report's texts handed to the page, and the tests' stepping
// clock when the page's address has record-clock=<start time>.
#include "platform/web/WebRecord.h"

#include <emscripten.h>

#include "features/record/PracticeRecord.h"
#include "features/record/ReportPage.h"

namespace {

// The length in UTF-8 bytes of the file (tailCount < 0) or of its last tailCount bytes;
// -1 when there is no such file.
EM_JS(int, web_record_length, (const char* file, int tailCount), {
    const name = UTF8ToString(file);
    const text =
        tailCount < 0 ? Module.web.recordRead(name) : Module.web.recordTail(name, tailCount);
    return text == null ? -1 : lengthBytesUTF8(text);
});

EM_JS(void, web_record_copy, (const char* file, int tailCount, char* buffer, int capacity), {
    const name = UTF8ToString(file);
    const text =
        tailCount < 0 ? Module.web.recordRead(name) : Module.web.recordTail(name, tailCount);
    stringToUTF8(text == null ? "" : text, buffer, capacity);
});

EM_JS(int, web_record_append, (const char* file, const char* bytes),
      { return Module.web.recordAppend(UTF8ToString(file), UTF8ToString(bytes)) ? 1 : 0; });

EM_JS(double, web_record_size, (const char* file),
      { return Module.web.recordSize(UTF8ToString(file)); });

EM_JS(int, web_record_rotate, (const char* file, const char* older),
      { return Module.web.recordRotate(UTF8ToString(file), UTF8ToString(older)) ? 1 : 0; });

EM_JS(int, web_record_remove, (const char* pupil),
      { return Module.web.recordRemove(UTF8ToString(pupil)) ? 1 : 0; });

EM_JS(void, web_record_texts, (const char* texts), {
    Module.web.recordTexts(UTF8ToString(texts));
    Module.web.makeRecordControl();
});

EM_JS(int, web_record_clock, (char* buffer, int capacity), {
    const start = new URLSearchParams(window.location.search).get("record-clock") || "";
    stringToUTF8(start, buffer, capacity);
    return start.length;
});

std::string fileKey(const std::string& pupil, RecordFile file) {
    return pupil + "/" + recordFileName(file);
}

RecordFile olderOf(RecordFile file) {
    return file == RecordFile::Entries ? RecordFile::OlderEntries : RecordFile::OlderQuestions;
}

std::optional<std::string> text(const std::string& key, int tailCount) {
    const int length = web_record_length(key.c_str(), tailCount);
    if (length < 0) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(length) + 1, '\0');
    web_record_copy(key.c_str(), tailCount, bytes.data(), length + 1);
    bytes.resize(static_cast<std::size_t>(length));
    return bytes;
}

}  // namespace

bool WebRecordStore::append(const std::string& pupil, RecordFile file, const std::string& bytes) {
    return web_record_append(fileKey(pupil, file).c_str(), bytes.c_str()) != 0;
}

std::uint64_t WebRecordStore::size(const std::string& pupil, RecordFile file) {
    return static_cast<std::uint64_t>(web_record_size(fileKey(pupil, file).c_str()));
}

std::string WebRecordStore::tail(const std::string& pupil, RecordFile file, std::size_t count) {
    return text(fileKey(pupil, file), static_cast<int>(count)).value_or("");
}

std::optional<std::string> WebRecordStore::read(const std::string& pupil, RecordFile file) {
    return text(fileKey(pupil, file), -1);
}

bool WebRecordStore::rotate(const std::string& pupil, RecordFile file) {
    return web_record_rotate(fileKey(pupil, file).c_str(), fileKey(pupil, olderOf(file)).c_str()) !=
           0;
}

bool WebRecordStore::remove(const std::string& pupil) {
    return web_record_remove(pupil.c_str()) != 0;
}

WebRecord::WebRecord() {
    installRecordStore(&store);
    // A class list, once chosen from, names the pupil instead.
    setCurrentPupil("this device");
    char start[64] = {};
    if (web_record_clock(start, sizeof start) > 0) {
        if (const std::optional<RecordTime> time = parseIsoTime(start)) {
            setRecordClock(steppingClock(*time));
        }
    }
    web_record_texts(reportTextsJson().c_str());
}

WebRecord::~WebRecord() {
    installRecordStore(nullptr);
}
