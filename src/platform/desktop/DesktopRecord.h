// The practice record's set-up on the desktop, made by each backend's main for the
// program's run: the record store beside the settings, installed; the account's user
// name as the pupil practising; and the tests' stepping clock when
// BRICKETING_RECORD_CLOCK holds a start time ("2026-01-05T09:00:00+01:00").
#pragma once

#include <filesystem>
#include <string>

#include "platform/desktop/DesktopRecordStore.h"

class DesktopRecord {
public:
    DesktopRecord(const std::filesystem::path& perUserFolder, const std::string& accountName);
    ~DesktopRecord();
    DesktopRecord(const DesktopRecord&) = delete;
    DesktopRecord& operator=(const DesktopRecord&) = delete;

    DesktopRecordStore store;
};
