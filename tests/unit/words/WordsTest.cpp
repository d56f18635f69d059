// The words lookup against the shipped catalogues (Resources/locale, built from po/):
// plural rules, the language chosen from the system's wishes, every catalogue read
// with its own header, and damaged catalogue files refused without harm.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "words/Catalogue.h"
#include "words/Words.h"

namespace {

struct PluralCase {
    const char* header;
    std::vector<std::pair<long, int>> countAndForm;
};

// English, French (0 and 1 singular), Polish (three forms), and the C operators the
// rules of other languages use.
const PluralCase pluralCases[] = {
    {"nplurals=2; plural=(n != 1);", {{0, 1}, {1, 0}, {2, 1}, {11, 1}}},
    {"nplurals=2; plural=(n > 1);", {{0, 0}, {1, 0}, {2, 1}, {100, 1}}},
    {"nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);",
     {{1, 0}, {2, 1}, {4, 1}, {5, 2}, {12, 2}, {13, 2}, {22, 1}, {25, 2}, {104, 1}, {112, 2}}},
    {"nplurals=1; plural=0;", {{0, 0}, {1, 0}, {7, 0}}},
    {"nplurals=3; plural=n%10==1 && n%100!=11 ? 0 : n != 0 ? 1 : 2;",
     {{0, 2}, {1, 0}, {11, 1}, {21, 0}}},
    {"nplurals=4; plural=(n==1) ? 0 : (n==2) ? 1 : (n > 10 && n%10 == 0) ? 2 : 3;",
     {{1, 0}, {2, 1}, {20, 2}, {21, 3}}},
};

TEST(PluralRuleTest, EveryCaseTakesItsForm) {
    for (const PluralCase& c : pluralCases) {
        const auto rule = words::PluralRule::parse(c.header);
        ASSERT_TRUE(rule.has_value()) << c.header;
        for (const auto& [count, form] : c.countAndForm) {
            EXPECT_EQ(rule->formFor(count), form) << c.header << " n=" << count;
        }
    }
}

TEST(PluralRuleTest, AMalformedRuleIsRefused) {
    for (const char* header : {"nplurals=2; plural=(n != ;", "nplurals=2; plural=n ? 1;",
                               "plural=n;", "nplurals=2; plural=(n))", "nplurals=0; plural=0;"}) {
        EXPECT_FALSE(words::PluralRule::parse(header).has_value()) << header;
    }
}

// Polish's rule, read from its header, agrees with the rule written out in C++ for
// any count, and a form is always one the catalogue has.
TEST(PluralRuleTest, PolishRuleMatchesItsDefinitionForRandomCounts) {
    const auto rule = words::PluralRule::parse(pluralCases[2].header);
    ASSERT_TRUE(rule.has_value());
    std::mt19937 random(26);
    std::uniform_int_distribution<long> counts(0, 2'000'000);
    for (int i = 0; i < 20000; ++i) {
        const long n = counts(random);
        const int expected = n == 1                                                          ? 0
                             : n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20) ? 1
                                                                                             : 2;
        ASSERT_EQ(rule->formFor(n), expected) << n;
    }
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ShippedCatalogueTest : public ::testing::Test {
protected:
    void TearDown() override { words::useLanguage("en"); }
};

TEST_F(ShippedCatalogueTest, EveryShippedCatalogueIsReadWithItsOwnLanguageAndName) {
    const std::vector<std::string> codes = words::availableLanguages();
    ASSERT_GE(codes.size(), 7u) << "English and the six catalogues";
    EXPECT_EQ(codes.front(), "en");
    for (const std::string& code : codes) {
        ASSERT_TRUE(words::useLanguage(code)) << code;
        EXPECT_EQ(words::currentLanguage(), code);
        if (code != "en") {
            const auto catalogue =
                words::Catalogue::read(fileBytes("Resources/locale/" + code + ".mo"));
            ASSERT_TRUE(catalogue.has_value()) << code;
            EXPECT_EQ(catalogue->header("Language"), code);
            EXPECT_NE(words::languageName(code), u"English") << code;
            EXPECT_NE(trc("answer", " rem.{remainder}"), u" rem.{remainder}")
                << code << ": the catalogue is used";
        }
    }
}

// The notation and wording each language's schools use, as the board and the panel
// draw them.
TEST_F(ShippedCatalogueTest, EachLanguageWritesTheQuestionAndTheRemainderItsOwnWay) {
    struct Notation {
        const char* code;
        std::u16string question, remainder, lots, one;
    };
    const Notation table[] = {
        {"en", u"4578 \u00F7 35", u" rem.28", u"lots of 7", u"lot of 7"},
        {"en_US", u"4578 \u00F7 35", u" R28", u"lots of 7", u"lot of 7"},
        {"nl", u"4578 : 35", u" rest 28", u"keer 7", u"keer 7"},
        {"de", u"4578 : 35", u" Rest 28", u"mal 7", u"mal 7"},
        {"fr", u"4578 : 35", u" reste 28", u"fois 7", u"fois 7"},
        {"es", u"4578 : 35", u" resto 28", u"veces 7", u"vez 7"},
        {"pl", u"4578 : 35", u" r. 28", u"razy 7", u"raz 7"},
    };
    for (const Notation& n : table) {
        ASSERT_TRUE(words::useLanguage(n.code));
        EXPECT_EQ(fill(trc("question", "{dividend} \u00F7 {divisor}"),
                       {{"dividend", u"4578"}, {"divisor", u"35"}}),
                  n.question)
            << n.code;
        EXPECT_EQ(fill(trc("answer", " rem.{remainder}"), {{"remainder", u"28"}}), n.remainder)
            << n.code;
        EXPECT_EQ(fill(trn("lot of {divisor}", "lots of {divisor}", 2), {{"divisor", u"7"}}),
                  n.lots)
            << n.code;
        EXPECT_EQ(fill(trn("lot of {divisor}", "lots of {divisor}", 1), {{"divisor", u"7"}}), n.one)
            << n.code;
    }
}

TEST_F(ShippedCatalogueTest, TheSystemsWishesChooseTheBestShippedLanguage) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> table = {
        {{"nl-BE", "en"}, "nl"},
        {{"en-US"}, "en_US"},
        {{"en_GB.UTF-8"}, "en"},
        {{"de_DE.UTF-8@euro"}, "de"},
        {{"pt-BR", "fr-CA"}, "fr"},
        {{"pt", "ja"}, "en"},
        {{}, "en"},
        {{"PL"}, "pl"},
        {{"../nl"}, "en"},
    };
    for (const auto& [wishes, expected] : table) {
        EXPECT_EQ(words::bestLanguage(wishes), expected) << (wishes.empty() ? "" : wishes[0]);
    }
    EXPECT_FALSE(words::useLanguage("xx"));
    EXPECT_EQ(words::currentLanguage(), "en");
    EXPECT_EQ(words::tr("Cancel"), u"Cancel");
}

// Any prefix of a catalogue, and any single damaged byte, is read or refused without
// reading outside the bytes (the sanitizer build runs this too).
TEST(CatalogueFileTest, DamagedFilesAreReadOrRefusedSafely) {
    const std::string bytes = fileBytes("Resources/locale/pl.mo");
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_TRUE(words::Catalogue::read(bytes).has_value());
    for (std::size_t length = 0; length < bytes.size(); length += 7) {
        const auto partial = words::Catalogue::read(std::string_view(bytes).substr(0, length));
        if (partial) {
            // Only a cut after the last text leaves a whole catalogue to read.
            const std::string* cancel = partial->find("Cancel");
            ASSERT_NE(cancel, nullptr) << length;
            EXPECT_EQ(*cancel, "Anuluj");
        }
    }
    std::mt19937 random(2026);
    for (int i = 0; i < 2000; ++i) {
        std::string damaged = bytes;
        damaged[random() % std::min<std::size_t>(damaged.size(), 64)] = static_cast<char>(random());
        const auto read = words::Catalogue::read(damaged);
        if (read) {
            static_cast<void>(read->findPlural("lot of {divisor}", static_cast<long>(random())));
        }
    }
    EXPECT_FALSE(words::Catalogue::read("not a catalogue at all, just text").has_value());
}

TEST(FillTest, NamedPlaceholdersTakeTheirValuesAndUnknownOnesStay) {
    EXPECT_EQ(fill(u"{a} : {b} = {c}", {{"a", u"10"}, {"b", u"2"}, {"c", u"5"}}), u"10 : 2 = 5");
    EXPECT_EQ(fill(u"{b} {a} {b}", {{"a", u"x"}, {"b", u"y"}}), u"y x y");
    EXPECT_EQ(fill(u"{missing} and {", {{"a", u"x"}}), u"{missing} and {");
}

}  // namespace

// The one UTF-16 to UTF-8 encoder (the pupil's names use it too): every width of
// character, and a lone surrogate of either half as U+FFFD wherever it stands.
TEST(Utf8Test, EveryWidthIsWrittenAndALoneSurrogateBecomesTheReplacementCharacter) {
    const std::string replacement = "\xEF\xBF\xBD";
    const std::pair<std::u16string, std::string> cases[] = {
        {u"a\u00EB\u674E\U0001F600", "a\xC3\xAB\xE6\x9D\x8E\xF0\x9F\x98\x80"},
        {std::u16string(u"a") + char16_t(0xD800) + u"b", "a" + replacement + "b"},
        {std::u16string(u"a") + char16_t(0xDC00), "a" + replacement},
        {std::u16string(1, char16_t(0xD83D)), replacement},
        {std::u16string(2, char16_t(0xD83D)) + char16_t(0xDE00), replacement + "\xF0\x9F\x98\x80"},
    };
    for (const auto& [utf16, utf8] : cases) {
        EXPECT_EQ(words::toUtf8(utf16), utf8);
    }
    EXPECT_EQ(words::fromUtf8(words::toUtf8(cases[0].first)), cases[0].first);
}
