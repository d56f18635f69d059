// Number-to-text conversion: the text every drawn number and caption goes through.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <stdexcept>
#include <string>

#include "text/Stringify.h"

namespace {

// A value whose insertion fails, as a stream does when memory runs out.
struct Unprintable {};

std::ostream& operator<<(std::ostream& out, const Unprintable&) {
    out.setstate(std::ios::failbit);
    return out;
}

TEST(StringifyNumbers, UseClassicDecimalWithoutGroupingOrPadding) {
    EXPECT_EQ(stringify(0), u"0");
    EXPECT_EQ(stringify(1234), u"1234");
    EXPECT_EQ(stringify(10000), u"10000");
    EXPECT_EQ(stringify(9999), u"9999");
}

TEST(StringifyNumbers, KeepTheMinusSignDirectlyBeforeTheDigits) {
    EXPECT_EQ(stringify(-7), u"-7");
    EXPECT_EQ(stringify(INT_MIN), u"-2147483648");
    EXPECT_EQ(stringify(INT_MAX), u"2147483647");
}

TEST(StringifyNumbers, ResultLengthIsTheNumberOfCharactersProduced) {
    EXPECT_EQ(stringify(5).size(), 1u);
    EXPECT_EQ(stringify(-120).size(), 4u);
    EXPECT_EQ(stringify(INT_MIN).size(), 11u);
    EXPECT_EQ(stringify(std::string("New Question")).size(), 12u);
}

TEST(StringifyText, CopiesCharactersAsTheyAre) {
    EXPECT_EQ(stringify(std::string("New Question")), u"New Question");
    EXPECT_EQ(stringify(std::string("  two  spaces  ")), u"  two  spaces  ");
    EXPECT_EQ(stringify(std::string()), u"");
}

TEST(ToWideText, MapsEachByteToOneCodeUnit) {
    EXPECT_EQ(toWideText(""), u"");
    EXPECT_EQ(toWideText("Restart Question"), u"Restart Question");
    EXPECT_EQ(toWideText("-42 rem."), u"-42 rem.");
    const std::u16string wide = toWideText(std::string("a\0b", 3));
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[1], u'\0');
    EXPECT_EQ(wide[2], u'b');
}

TEST(ToWideText, ReadsBytesAboveSevenBitsAsUnsigned) {
    const std::u16string wide = toWideText("\xF7\xFF");
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_EQ(wide[0], u'\u00F7');
    EXPECT_EQ(wide[1], u'\u00FF');
}

TEST(BadConversion, IsARuntimeErrorCarryingItsMessage) {
    const BadConversion error("stringify(int)");
    const std::runtime_error& asRuntime = error;
    const std::exception& asException = error;
    EXPECT_STREQ(asRuntime.what(), "stringify(int)");
    EXPECT_STREQ(asException.what(), "stringify(int)");
}

TEST(BadConversion, IsThrownWhenTheStreamFailsAndNamesTheSourceType) {
    try {
        stringify(Unprintable{});
        FAIL() << "a failing stream must throw";
    } catch (const BadConversion& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("stringify(", 0), 0u) << message;
        EXPECT_NE(message.find("Unprintable)"), std::string::npos) << message;
    }
    EXPECT_EQ(readableTypeName<int>(), "int");
}

}  // namespace
