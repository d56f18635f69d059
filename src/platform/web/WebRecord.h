// The practice record's web side, made by WebMain for the program's run: the store over
// the browser's IndexedDB (WebRecord.js) installed, the pupil "this device", the
// "Practice record" control with the report's texts, and the tests' clock.
#pragma once

#include "platform/RecordStore.h"

class WebRecordStore : public RecordStore {
public:
    bool append(const std::string& pupil, RecordFile file, const std::string& bytes) override;
    std::uint64_t size(const std::string& pupil, RecordFile file) override;
    std::string tail(const std::string& pupil, RecordFile file, std::size_t count) override;
    std::optional<std::string> read(const std::string& pupil, RecordFile file) override;
    bool rotate(const std::string& pupil, RecordFile file) override;
    bool remove(const std::string& pupil) override;
};

class WebRecord {
public:
    WebRecord();
    ~WebRecord();
    WebRecord(const WebRecord&) = delete;
    WebRecord& operator=(const WebRecord&) = delete;

    WebRecordStore store;
};
