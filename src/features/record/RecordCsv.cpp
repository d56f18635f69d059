// CSV fields and rows, ISO 8601 times, and the reader that skips torn lines.
#include "features/record/RecordCsv.h"

#include <chrono>
#include <cstdio>
#include <ctime>

const std::vector<std::string_view> questionColumns = {
    "id",           "started",        "pupil",           "level",          "display",
    "auto_product", "auto_remainder", "difficulty",      "dividend",       "divisor",
    "ended",        "left_by",        "answer",          "remainder",      "steps",
    "chunks",       "fewest_steps",   "wrong_multiples", "wrong_products", "wrong_remainders",
    "wrong_totals", "seconds",
};

const std::vector<std::string_view> entryColumns = {
    "question", "line", "kind", "typed", "expected", "result", "slip", "seconds", "help",
};

namespace {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};

CivilDate civilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::int64_t floorDivide(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The seconds since 1970 a broken-down time would have if it were UTC.
std::int64_t asIfUtc(const std::tm& time) {
    return daysFromCivil(time.tm_year + 1900, time.tm_mon + 1, time.tm_mday) * 86400 +
           time.tm_hour * 3600 + time.tm_min * 60 + time.tm_sec;
}

bool isDigits(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return !text.empty();
}

int number(std::string_view text) {
    int value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// The fields of one line (without its CR LF); nothing when its quotes do not pair up.
std::optional<std::vector<std::string>> splitFields(std::string_view line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    bool wasQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == ',') {
            fields.emplace_back();
            wasQuoted = false;
        } else if (c == '"' && fields.back().empty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == '"' || c == '\r' || c == '\0') {
            return std::nullopt;  // a quote inside a bare field, or a torn line's remains
        } else {
            fields.back() += c;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    return fields;
}

}  // namespace

std::string isoTime(RecordTime time) {
    const std::int64_t local = floorDivide(time.unixMilliseconds, 1000) + time.offsetMinutes * 60;
    const std::int64_t days = floorDivide(local, 86400);
    const std::int64_t secondOfDay = local - days * 86400;
    const CivilDate date = civilFromDays(days);
    const int offset = time.offsetMinutes < 0 ? -time.offsetMinutes : time.offsetMinutes;
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d%c%02d:%02d",
                  static_cast<long long>(date.year), date.month, date.day,
                  static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
                  static_cast<int>(secondOfDay % 60), time.offsetMinutes < 0 ? '-' : '+',
                  offset / 60, offset % 60);
    return text;
}

std::optional<RecordTime> parseIsoTime(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SS then Z or +HH:MM / -HH:MM
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const std::string_view parts[] = {text.substr(0, 4),  text.substr(5, 2),  text.substr(8, 2),
                                      text.substr(11, 2), text.substr(14, 2), text.substr(17, 2)};
    for (std::string_view part : parts) {
        if (!isDigits(part)) {
            return std::nullopt;
        }
    }
    int offsetMinutes = 0;
    const std::string_view zone = text.substr(19);
    if (zone != "Z") {
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':' ||
            !isDigits(zone.substr(1, 2)) || !isDigits(zone.substr(4, 2))) {
            return std::nullopt;
        }
        offsetMinutes = number(zone.substr(1, 2)) * 60 + number(zone.substr(4, 2));
        offsetMinutes = zone[0] == '-' ? -offsetMinutes : offsetMinutes;
    }
    const std::int64_t local =
        daysFromCivil(number(parts[0]), number(parts[1]), number(parts[2])) * 86400 +
        number(parts[3]) * 3600 + number(parts[4]) * 60 + number(parts[5]);
    return RecordTime{(local - offsetMinutes * 60) * 1000, offsetMinutes};
}

RecordTime systemRecordTime() {
    using namespace std::chrono;
    const std::int64_t milliseconds =
        duration_cast<std::chrono::milliseconds>(system_clock::now().time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(floorDivide(milliseconds, 1000));
    // The offset is the local time read as if it were UTC, less UTC itself.
    const std::tm* local = std::localtime(&seconds);
    if (local == nullptr) {
        return {milliseconds, 0};
    }
    const std::int64_t localSeconds = asIfUtc(*local);
    return {milliseconds,
            static_cast<int>(floorDivide(localSeconds - static_cast<std::int64_t>(seconds), 60))};
}

std::string csvField(std::string_view text) {
    std::string field;
    bool needsQuotes = !text.empty() && (text.front() == ' ' || text.back() == ' ');
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            field += ' ';  // no line end or other control character inside a row
            continue;
        }
        needsQuotes = needsQuotes || c == ',' || c == '"';
        field += c;
        if (c == '"') {
            field += '"';
        }
    }
    return needsQuotes ? '"' + field + '"' : field;
}

std::string csvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        row += i == 0 ? "" : ",";
        row += csvField(fields[i]);
    }
    return row + "\r\n";
}

std::string csvStart(const std::vector<std::string_view>& columns) {
    return std::string(byteOrderMark) +
           csvRow(std::vector<std::string>(columns.begin(), columns.end()));
}

std::optional<CsvTable> readCsv(std::string_view text) {
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark) {
        text.remove_prefix(byteOrderMark.size());
    }
    CsvTable table;
    bool haveHeader = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            ++table.skipped;  // the last line, torn before its line end
            break;
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        std::optional<std::vector<std::string>> fields;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            fields = splitFields(line);
        }
        if (!haveHeader) {
            if (!fields) {
                return std::nullopt;
            }
            table.header = std::move(*fields);
            haveHeader = true;
        } else if (fields && fields->size() == table.header.size()) {
            table.rows.push_back(std::move(*fields));
        } else {
            ++table.skipped;
        }
    }
    if (!haveHeader) {
        return std::nullopt;
    }
    return table;
}
