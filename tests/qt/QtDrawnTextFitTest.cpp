// Every drawn text fits its place in every shipped language, measured with the Qt
// backend's own text measuring (Liberation Sans standing in for Arial): the board's
// wording column, the command panel's label, the question and the answer beside the
// board, and the web page's number pad switch (15-pixel type in a 132-pixel button).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "board/BoardLayout.h"
#include "platform/qt/QtDrawing.h"
#include "words/Words.h"

namespace {

struct Place {
    std::u16string text;
    float points;
    float room;  // the width the text may take, padding included
    float left;  // for the texts beside the board: where they start
};

// The widest each text can be: two-digit divisors, four-digit dividends and quotients.
std::vector<Place> drawnTexts() {
    // GDI+ pads a measured text by a sixth of an em on each side (40-pixel type here): the
    // wording's right padding and the "=" sign's left padding are both blank, so the
    // wording's ink may come that close to the next column.
    const float wordingRoom =
        BoardLayout::equalsColumn - BoardLayout::wordingColumn + 2.0f * 40.0f / 6.0f;
    std::vector<Place> places;
    for (long count : {1L, 2L, 5L, 22L}) {
        places.push_back(
            {fill(trn("lot of {divisor}", "lots of {divisor}", count), {{"divisor", u"99"}}), 30.0f,
             wordingRoom, 0.0f});
    }
    places.push_back({fill(trc("times sign", "\u00D7 {divisor}"), {{"divisor", u"99"}}), 30.0f,
                      wordingRoom, 0.0f});
    for (const char* label :
         {"New Question", "Create Question", "Restart Question", "Settings", "Help", "Exit"}) {
        places.push_back({tr(label), 20.0f, 250.0f, 0.0f});  // the label box under the buttons
    }
    // The question from x 530 and the answer from 520 with the remainder after it, all
    // inside the 800-pixel window.
    places.push_back({fill(trc("question", "{dividend} \u00F7 {divisor}"),
                           {{"dividend", u"9999"}, {"divisor", u"99"}}),
                      30.0f, 800.0f - 530.0f, 530.0f});
    // A four-digit quotient leaves at most a one-digit remainder (divisors up to 9),
    // a two-digit remainder comes with at most 909 (divisors from 11).
    for (const auto& [quotient, remainder] : {std::pair{u"4999", u"8"}, std::pair{u"909", u"98"}}) {
        places.push_back({fill(trc("answer", "= {quotient}"), {{"quotient", quotient}}) +
                              fill(trc("answer", " rem.{remainder}"), {{"remainder", remainder}}),
                          30.0f, 800.0f - 520.0f, 520.0f});
    }
    places.push_back({tr("Number pad"), 11.25f, 132.0f - 2.0f * 8.0f, 0.0f});
    return places;
}

TEST(DrawnTextFitTest, EveryDrawnTextFitsItsPlaceInEveryLanguage) {
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    const std::vector<std::string> languages = words::availableLanguages();
    ASSERT_GE(languages.size(), 7u);
    for (const std::string& language : languages) {
        ASSERT_TRUE(words::useLanguage(language));
        for (const Place& place : drawnTexts()) {
            const QtFont font(place.points);
            const Rectangle box = graphics->measureText(place.text, font, {place.left, 0.0f});
            EXPECT_LE(box.width, place.room)
                << language << ": \"" << words::toUtf8(place.text) << "\"";
        }
    }
    words::useLanguage("en");
}

}  // namespace
