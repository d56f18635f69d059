// The lesson panel's start-up, its per-frame update, what it draws around the board
// (pictures, question header, answer, balloon) and its handling of presses on the
// mascot and the logo.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
#include "platform/KeyCodes.h"

namespace {

constexpr Colour headerColour = 0xFF6464FF;
constexpr Colour quotientColour = 0xFF963296;
constexpr Colour remainderColour = 0xFF329632;
constexpr Point onMascot{710.0f, 500.0f};
constexpr Point onLogo{600.0f, 530.0f};
constexpr Point elsewhere{650.0f, 300.0f};  // right of the board, on no picture

struct ServicesWithPictures : FakeDrawingServices {
    ServicesWithPictures() { registerProgramImageSizes(*this); }
};

class LessonPanelTest : public ::testing::Test {
protected:
    void draw() {
        buffer.clear();
        panel.draw(buffer);
    }

    // Sets a question up the way the shell starts one.
    void startQuestion(int dividend, int divisor) {
        panel.dividend = dividend;
        panel.divisor = divisor;
        panel.lessonState = Working;
        panel.board.setUpQuestion(dividend, divisor);
    }

    std::vector<DrawCall> texts() const {
        std::vector<DrawCall> found;
        for (const DrawCall& call : buffer.calls) {
            if (call.kind == DrawKind::Text) {
                found.push_back(call);
            }
        }
        return found;
    }

    std::optional<DrawCall> textStartingWith(const std::string& start) const {
        for (const DrawCall& call : texts()) {
            if (narrow(call.text).rfind(start, 0) == 0) {
                return call;
            }
        }
        return std::nullopt;
    }

    std::vector<DrawCall> balloonFrames() const {
        std::vector<DrawCall> found;
        for (const DrawCall& call : buffer.calls) {
            if (call.kind == DrawKind::ImagePart) {
                found.push_back(call);
            }
        }
        return found;
    }

    void press(Point point, int times = 1) {
        for (int i = 0; i < times; ++i) {
            panel.mouseDown(point);
        }
    }

    ServicesWithPictures services;
    LessonPanel panel;
    FakeBackBuffer buffer;
};

TEST_F(LessonPanelTest, StartsWorkingOnAQuestionSetUpOnTheBoard) {
    EXPECT_EQ(panel.lessonState, Working);
    EXPECT_EQ(panel.board.dividend, panel.dividend);
    EXPECT_EQ(panel.board.divisor, panel.divisor);
    EXPECT_EQ(panel.board.state, EnterMultiple);
    EXPECT_GE(panel.dividend / panel.divisor, 5);
    EXPECT_EQ(panel.balloonStage, 0);
    EXPECT_FLOAT_EQ(panel.balloonY, 465.0f);
    EXPECT_DOUBLE_EQ(panel.balloonSpeed, 15.0);
    EXPECT_FALSE(panel.aboutRequested);

    const std::vector<std::string> pictures = {"Resources/Quillmoor_200.png",
                                               "Resources/Mox_73.png", "Resources/balloon.png"};
    const auto& loaded = services.loadedPaths;
    const auto first = std::search(loaded.begin(), loaded.end(), pictures.begin(), pictures.end());
    EXPECT_NE(first, loaded.end()) << "logo, mascot and balloon are loaded in that order";
}

TEST_F(LessonPanelTest, DrawsPicturesHeaderAndBoardInOrder) {
    startQuestion(1234, 56);
    draw();

    ASSERT_GE(buffer.calls.size(), 4u);
    EXPECT_EQ(buffer.calls[0].imagePath, "Resources/Quillmoor_200.png");
    EXPECT_FLOAT_EQ(buffer.calls[0].origin.x, 500.0f);
    EXPECT_FLOAT_EQ(buffer.calls[0].origin.y, 490.0f);
    EXPECT_EQ(buffer.calls[1].imagePath, "Resources/Mox_73.png");
    EXPECT_FLOAT_EQ(buffer.calls[1].origin.x, 700.0f);
    EXPECT_FLOAT_EQ(buffer.calls[1].origin.y, 490.0f);

    const DrawCall& header = buffer.calls[2];
    EXPECT_EQ(header.kind, DrawKind::Text);
    EXPECT_EQ(narrow(header.text), "1234 \u00F7 56");
    EXPECT_EQ(header.colour, headerColour);
    EXPECT_EQ(header.fontSize, 30.0f);
    EXPECT_FLOAT_EQ(header.origin.x, 530.0f);
    EXPECT_FLOAT_EQ(header.origin.y, 50.0f);

    // The board follows: its view background first.
    EXPECT_EQ(buffer.calls[3].kind, DrawKind::FillRectangle);
    EXPECT_FALSE(textStartingWith("= ")) << "no answer while working";
    EXPECT_TRUE(balloonFrames().empty());
}

TEST_F(LessonPanelTest, AnswerShowsQuotientAndRemainderSideBySide) {
    startQuestion(100, 7);
    panel.lessonState = Answered;
    draw();

    const auto quotient = textStartingWith("= ");
    ASSERT_TRUE(quotient);
    EXPECT_EQ(narrow(quotient->text), "= 14");
    EXPECT_EQ(quotient->colour, quotientColour);
    EXPECT_EQ(quotient->fontSize, 30.0f);
    EXPECT_FLOAT_EQ(quotient->origin.x, 520.0f);
    EXPECT_FLOAT_EQ(quotient->origin.y, 100.0f);

    const auto remainder = textStartingWith(" rem.");
    ASSERT_TRUE(remainder);
    EXPECT_EQ(narrow(remainder->text), " rem.2");
    EXPECT_EQ(remainder->colour, remainderColour);
    const Rectangle box = fakeMeasure(u"= 14", 30.0f, {520.0f, 100.0f});
    EXPECT_FLOAT_EQ(remainder->origin.x, box.x + box.width);
    EXPECT_FLOAT_EQ(remainder->origin.y, 100.0f);

    const auto header = textStartingWith("100 ");
    ASSERT_TRUE(header) << "the header stays while answered";
    EXPECT_EQ(narrow(header->text), "100 \u00F7 7");
}

TEST_F(LessonPanelTest, ExactDivisionShowsNoRemainder) {
    startQuestion(98, 7);
    panel.lessonState = Answered;
    draw();
    const auto quotient = textStartingWith("= ");
    ASSERT_TRUE(quotient);
    EXPECT_EQ(narrow(quotient->text), "= 14");
    EXPECT_FALSE(textStartingWith(" rem."));
}

TEST_F(LessonPanelTest, LessonIsAnsweredOnTheFirstUpdateAfterTheBoardFinishes) {
    startQuestion(100, 7);
    panel.update(0.02, {0.0f, 0.0f});
    EXPECT_EQ(panel.lessonState, Working);

    panel.board.autoProduct = true;
    panel.board.autoRemainder = true;
    for (int key : {KeyCode::Digit0 + 1, KeyCode::Digit0, KeyCode::Enter,  // 10 lots
                    KeyCode::Digit0 + 4, KeyCode::Enter,                   // 4 lots
                    KeyCode::Digit0 + 1, KeyCode::Digit0 + 4, KeyCode::Enter}) {
        panel.board.keyPressed(key);
    }
    ASSERT_EQ(panel.board.state, Finished);
    EXPECT_EQ(panel.lessonState, Working) << "only the update changes the lesson";

    panel.update(0.02, {0.0f, 0.0f});
    EXPECT_EQ(panel.lessonState, Answered);
    draw();
    EXPECT_TRUE(textStartingWith("= 14"));
    EXPECT_TRUE(textStartingWith(" rem.2"));
}

TEST_F(LessonPanelTest, FivePressesOnTheMascotLetTheBalloonRiseAway) {
    for (int stage = 1; stage <= 5; ++stage) {
        SCOPED_TRACE(stage);
        press(onMascot);
        ASSERT_EQ(panel.balloonStage, stage);
        panel.update(1.0, {0.0f, 0.0f});
        draw();
        const auto frames = balloonFrames();
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].imagePath, "Resources/balloon.png");
        EXPECT_FLOAT_EQ(frames[0].source.x, 63.0f * static_cast<float>(stage - 1));
        EXPECT_FLOAT_EQ(frames[0].source.y, 0.0f);
        EXPECT_FLOAT_EQ(frames[0].source.width, 63.0f);
        EXPECT_FLOAT_EQ(frames[0].source.height, 75.0f);
        EXPECT_FLOAT_EQ(frames[0].area.x, 721.0f);
        EXPECT_FLOAT_EQ(frames[0].area.y, stage < 5 ? 465.0f : 450.0f) << "rising from the fifth";
        EXPECT_FLOAT_EQ(frames[0].area.width, 63.0f);
        EXPECT_FLOAT_EQ(frames[0].area.height, 75.0f);
    }

    press(onMascot);
    EXPECT_EQ(panel.balloonStage, 5) << "a press during the rise changes nothing";
    EXPECT_FLOAT_EQ(panel.balloonY, 450.0f);

    panel.update(35.0, {0.0f, 0.0f});
    EXPECT_EQ(panel.balloonStage, 5) << "at -75 the balloon's bottom still touches the top";
    EXPECT_FLOAT_EQ(panel.balloonY, -75.0f);

    panel.update(0.02, {0.0f, 0.0f});
    EXPECT_EQ(panel.balloonStage, 0);
    EXPECT_FLOAT_EQ(panel.balloonY, 465.0f);
    draw();
    EXPECT_TRUE(balloonFrames().empty());

    press(onMascot);
    EXPECT_EQ(panel.balloonStage, 1) << "the next press starts again";
}

TEST_F(LessonPanelTest, MascotEdgesAreInside) {
    press({773.0f, 563.0f});
    EXPECT_EQ(panel.balloonStage, 1);
    press({700.0f, 490.0f});
    EXPECT_EQ(panel.balloonStage, 2);
    press({773.5f, 563.0f});
    press({699.5f, 500.0f});
    EXPECT_EQ(panel.balloonStage, 2);
}

TEST_F(LessonPanelTest, LogoPressRequestsAboutUntilTheNextPressElsewhere) {
    press(onLogo);
    EXPECT_TRUE(panel.aboutRequested);
    press(elsewhere);
    EXPECT_FALSE(panel.aboutRequested);

    press({700.0f, 570.0f});  // the logo's bottom-right corner
    EXPECT_TRUE(panel.aboutRequested);
    press({700.5f, 570.0f});
    EXPECT_FALSE(panel.aboutRequested);
    press({500.0f, 490.0f});
    EXPECT_TRUE(panel.aboutRequested);
}

TEST_F(LessonPanelTest, PressesUseThePicturesSizesOfTheMoment) {
    auto& logo = static_cast<FakeImage&>(*panel.logoImage);
    logo.imageWidth = 50;
    press(onLogo);
    EXPECT_FALSE(panel.aboutRequested);
    logo.imageWidth = 200;
    press(onLogo);
    EXPECT_TRUE(panel.aboutRequested);
}

TEST_F(LessonPanelTest, PicturesThatCouldNotBeMadeAreNeitherDrawnNorHit) {
    panel.logoImage.reset();
    panel.mascotImage.reset();
    panel.balloonImage.reset();
    panel.balloonStage = 3;
    draw();
    for (const DrawCall& call : buffer.calls) {
        EXPECT_NE(call.kind, DrawKind::ImagePart);
        EXPECT_EQ(call.imagePath.find("Resources/Quillmoor"), std::string::npos);
        EXPECT_EQ(call.imagePath.find("Resources/Mox"), std::string::npos);
    }
    press(onLogo);
    press(onMascot);
    EXPECT_FALSE(panel.aboutRequested);
    EXPECT_EQ(panel.balloonStage, 3);
}

TEST_F(LessonPanelTest, PressesReachTheBoardFirst) {
    startQuestion(100, 7);
    panel.board.keyPressed(KeyCode::Digit0 + 9);
    panel.board.keyPressed(KeyCode::Digit0 + 9);
    panel.board.keyPressed(KeyCode::Enter);
    ASSERT_EQ(panel.board.state, MultipleTooBig);
    press(onMascot);
    EXPECT_EQ(panel.board.state, EnterMultiple) << "the board cleared its error";
    EXPECT_EQ(panel.balloonStage, 1);
}

}  // namespace
