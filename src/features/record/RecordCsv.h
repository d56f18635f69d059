// The practice record's files as text: RFC 4180 CSV in UTF-8, each file starting with a
// byte order mark (Excel reads a CSV file as UTF-8 only with one; LibreOffice and the
// report skip it) and a header row, each row ending in CR LF. Fields never hold a line
// end (control characters become spaces), so a line is a row: a line that does not end
// in CR LF was torn by a crash while being written, and reading skips it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// The columns of each file, in order.
extern const std::vector<std::string_view> questionColumns;
extern const std::vector<std::string_view> entryColumns;

// A moment as the record writes it: the time since 1970 in UTC and the local offset then.
struct RecordTime {
    std::int64_t unixMilliseconds = 0;
    int offsetMinutes = 0;  // east of UTC
};

// ISO 8601 with the offset, to the second: "2026-01-05T09:00:00+01:00".
std::string isoTime(RecordTime time);
// Reads what isoTime writes (the offset may also be "Z"); nothing when it is not that.
std::optional<RecordTime> parseIsoTime(std::string_view text);
// Now, with the local offset, from the standard library's clock.
RecordTime systemRecordTime();

// One field, quoted when it holds a comma, a quote or a leading or trailing space.
std::string csvField(std::string_view text);
// The fields joined by commas, ending in CR LF.
std::string csvRow(const std::vector<std::string>& fields);
// The byte order mark and the header row, for a file's first write.
std::string csvStart(const std::vector<std::string_view>& columns);

// What reading one file gives: its header and its whole rows. A row is whole when its
// line ends in CR LF, its quotes pair up and it has as many fields as the header.
struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    int skipped = 0;  // lines that were not whole rows (torn by a crash)
};
// Nothing when the text has no whole header line.
std::optional<CsvTable> readCsv(std::string_view text);
