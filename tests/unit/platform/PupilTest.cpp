// A pupil's name as the one file or key name their settings are kept under: one table
// of names a class might hold against the name on disk.
#include <gtest/gtest.h>

#include <string>

#include "platform/Pupil.h"

namespace {

std::u16string repeated(std::u16string_view piece, int times) {
    std::u16string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

std::string repeated(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

TEST(PupilFileName, NamesAsFileNames) {
    struct Case {
        const char* what;
        std::u16string name;
        std::string file;
    };
    const Case cases[] = {
        {"a plain name", u"Amir", "Amir"},
        {"letters outside ASCII in UTF-8", u"Zoë", "Zo\xC3\xAB"},
        {"spaces inside stay", u"Mary Ann", "Mary Ann"},
        {"other scripts", u"李明", "\xE6\x9D\x8E\xE6\x98\x8E"},
        {"path and wildcard characters", u"a/b\\c:d*e?f\"g<h>i|j%k", "a_b_c_d_e_f_g_h_i_j_k"},
        {"control characters", u"a\tb\nc\x7F", "a_b_c_"},
        {"leading and trailing dots and spaces", u" ..Kai. ", "Kai"},
        {"dots inside stay", u"J.R.", "J.R"},
        {"only dots", u"..", "_"},
        {"nothing", u"", "_"},
        {"a device name of Windows", u"Con", "Con_"},
        {"another, any case", u"nul", "nul_"},
        {"a device name before a dot too", u"Aux.Li", "Aux_.Li"},
        {"and still within 64 bytes", u"prn." + repeated(u"ë", 30),
         "prn_." + repeated("\xC3\xAB", 29)},
        {"a device name with more is a name", u"Connor", "Connor"},
        {"a lone surrogate", std::u16string(u"a") + char16_t(0xD800) + u"b", "a_b"},
        {"a pair outside the BMP", u"Ana😀", "Ana\xF0\x9F\x98\x80"},
        {"two-byte characters cut at 64 bytes", repeated(u"ë", 40), repeated("\xC3\xAB", 32)},
        {"three-byte characters never split", u"aa" + repeated(u"李", 22),
         "aa" + repeated("\xE6\x9D\x8E", 20)},
        {"exactly 64 bytes", u"a" + repeated(u"李", 21), "a" + repeated("\xE6\x9D\x8E", 21)},
        {"four-byte characters never split", u"abc" + repeated(u"😀", 16),
         "abc" + repeated("\xF0\x9F\x98\x80", 15)},
    };
    for (const Case& c : cases) {
        const std::string file = pupilFileName(c.name);
        EXPECT_EQ(file, c.file) << c.what;
        EXPECT_LE(file.size(), 64u) << c.what;
    }
}

}  // namespace
