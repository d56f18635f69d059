// The cost of one frame of the lesson panel (update, then drawing into the Qt backend's
// offscreen back buffer) for a fresh question and for a working-out of 4,999 steps
// scrolled to its end. The long one should cost about the same as the short one,
// since only the lines in view are drawn; the ratio is printed after the runs.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "lesson/LessonPanel.h"
#include "platform/KeyCodes.h"
#include "platform/qt/QtDrawing.h"

namespace {

constexpr double frameSeconds = 0.02;
constexpr Point pointer{600.0f, 300.0f};  // beside the board, on nothing

void startQuestion(LessonPanel& panel, int dividend, int divisor) {
    panel.dividend = dividend;
    panel.divisor = divisor;
    panel.lessonState = Working;
    panel.board.setUpQuestion(dividend, divisor);
}

// Takes one lot at a time until less than the divisor remains. With the remainder
// given, each step is one digit and Enter.
void takeSingleLots(WorkingBoard& board) {
    board.autoRemainder = true;
    while (board.state == EnterMultiple) {
        board.keyPressed(KeyCode::Digit0 + 1);
        board.keyPressed(KeyCode::Enter);
    }
}

// Runs frames until the working-out has glided to its bottom and stopped there.
bool glideToEnd(LessonPanel& panel) {
    Glideport& view = panel.board.glideport;
    for (int frame = 0; frame < 10000; ++frame) {
        panel.update(frameSeconds, pointer);
        const bool atBottom = view.originY <= view.viewHeight - view.contentHeight;
        if (atBottom && view.velocity == 0.0) {
            return true;
        }
    }
    return false;
}

void runFrames(benchmark::State& state, LessonPanel& panel) {
    QtBackBuffer buffer(800, 600);
    for (auto _ : state) {
        panel.update(frameSeconds, pointer);
        buffer.clear();
        panel.draw(buffer);
        benchmark::DoNotOptimize(buffer.image.constBits());
    }
}

void freshQuestionFrame(benchmark::State& state) {
    LessonPanel panel;
    startQuestion(panel, 9999, 2);
    runFrames(state, panel);
}

void longWorkingOutFrame(benchmark::State& state) {
    LessonPanel panel;
    startQuestion(panel, 9999, 2);
    takeSingleLots(panel.board);
    if (panel.board.usedMultiples.size() != 4999 || !glideToEnd(panel)) {
        state.SkipWithError("the working-out did not reach 4,999 steps scrolled to its end");
        return;
    }
    runFrames(state, panel);
}

BENCHMARK(freshQuestionFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(longWorkingOutFrame)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's time per frame so that the two can be compared at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                timePerFrame[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> timePerFrame;
};

void printRatio(const RecordingReporter& reporter) {
    const auto fresh = reporter.timePerFrame.find("freshQuestionFrame");
    const auto longer = reporter.timePerFrame.find("longWorkingOutFrame");
    if (fresh == reporter.timePerFrame.end() || longer == reporter.timePerFrame.end() ||
        fresh->second <= 0.0) {
        return;
    }
    std::printf("long / fresh frame time: %.2f\n", longer->second / fresh->second);
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::current_path(BRICKETING_SOURCE_DIR);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QtDrawingServices services;
    installDrawingServices(&services);

    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printRatio(reporter);

    installDrawingServices(nullptr);
    return 0;
}
