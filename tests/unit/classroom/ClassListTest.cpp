// What a teacher's class file gives the picker: one table of files as teachers write
// them (a byte-order mark, Windows line ends, blank lines, notes, names given twice,
// very long names, any script) against the names shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "features/classroom/ClassList.h"

namespace {

std::string numberedNames(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "Pupil " + std::to_string(i) + "\n";
    }
    return text;
}

TEST(ReadClassList, FilesAsTeachersWriteThem) {
    const std::u16string forty(40, u'a');
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::u16string> names;
    };
    const Case cases[] = {
        {"three names", "Amir\nZoë\nKai\n", {u"Amir", u"Zoë", u"Kai"}},
        {"no line end after the last", "Amir\nKai", {u"Amir", u"Kai"}},
        {"a byte-order mark and Windows line ends",
         "\xEF\xBB\xBFZoë\r\nAmir\r\n",
         {u"Zoë", u"Amir"}},
        {"blank lines and notes",
         "# Class 4B\n\n   \nAmir\n  # left in May\n\t\nKai\n",
         {u"Amir", u"Kai"}},
        {"a # inside a name is the name's", "Amir #2\n", {u"Amir #2"}},
        {"spaces around go, spaces inside stay",
         "  Mary Ann \t\n\u00A0Li\u00A0\n",
         {u"Mary Ann", u"Li"}},
        {"a name given twice is listed once", "Amir\nZoë\n Amir \nZoë\n", {u"Amir", u"Zoë"}},
        {"names differing in case are two pupils", "kai\nKai\n", {u"kai", u"Kai"}},
        {"any script",
         "محمد\n李明\nΣοφία\nअनन्या\nЖеня\n",
         {u"محمد", u"李明", u"Σοφία", u"अनन्या", u"Женя"}},
        {"a long name is cut to fit its button", std::string(55, 'a') + "\n", {forty}},
        {"a cut that ends on a space loses it",
         std::string(39, 'b') + " cdef\n",
         {std::u16string(39, u'b')}},
        {"a cut never splits a character",
         std::string(39, 'c') + "😀\n",
         {std::u16string(39, u'c')}},
        {"nothing at all", "", {}},
        {"only notes", "# nobody yet\n\n", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readClassList(c.text), c.names) << c.what;
    }
}

TEST(ReadClassList, ALongerListStopsAtTheLargestClass) {
    const std::vector<std::u16string> names = readClassList(numberedNames(75));
    ASSERT_EQ(names.size(), largestClass);
    EXPECT_EQ(names.front(), u"Pupil 1");
    EXPECT_EQ(names.back(), u"Pupil " + std::u16string(u"60"));
}

}  // namespace
