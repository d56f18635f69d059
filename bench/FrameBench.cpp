// The cost of one frame of the lesson panel (update, then drawing into the Qt backend's
// offscreen back buffer) for a fresh question, and for working-outs of 8 and of 4,999
// steps scrolled to their ends; and of a frame at rest, which is only recorded. Only
// the lines in view are drawn, so the length of the working-out should not matter; the
// ratios are printed after the runs.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QGuiApplication>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "BenchLesson.h"
#include "frames/FrameRecorder.h"
#include "lesson/LessonPanel.h"
#include "platform/qt/QtDrawing.h"

namespace {

using namespace bench;  // the lesson both benchmarks drive

void runFrames(benchmark::State& state, LessonPanel& panel) {
    QtBackBuffer buffer(800, 600);
    for (auto _ : state) {
        panel.update(frameSeconds, pointer);
        buffer.clear();
        panel.draw(buffer);
        benchmark::DoNotOptimize(buffer.image.constBits());
    }
}

// A frame at rest as the program makes it: updated and recorded, then found to be the
// same as the frame before, so nothing is painted.
void restingRecordedFrame(benchmark::State& state) {
    LessonPanel panel;
    startQuestion(panel, 9999, 2);
    QtBackBuffer buffer(800, 600);
    FrameRecorder recorder(buffer);
    int painted = 0;
    for (auto _ : state) {
        panel.update(frameSeconds, pointer);
        recorder.beginFrame();
        recorder.clear();
        panel.draw(recorder);
        if (recorder.changed()) {
            recorder.drawIntoTarget();
            ++painted;
        }
    }
    state.counters["painted"] = painted;
}

void freshQuestionFrame(benchmark::State& state) {
    LessonPanel panel;
    startQuestion(panel, 9999, 2);
    runFrames(state, panel);
}

// 9999 / 2 after `steps` lots of 1, scrolled to the end of its working-out.
void scrolledWorkingOutFrame(benchmark::State& state, int steps) {
    LessonPanel panel;
    startQuestion(panel, 9999, 2);
    panel.update(frameSeconds, pointer);  // the first frame, which never glides
    if (!takeSingleLots(panel.board, steps) || !glideToEnd(panel)) {
        state.SkipWithError("the working-out did not reach its steps scrolled to its end");
        return;
    }
    runFrames(state, panel);
}

// Eight steps already fill the view, so this frame has as many lines to draw as the
// long one: the two differ only in the length of the working-out.
void shortWorkingOutFrame(benchmark::State& state) {
    scrolledWorkingOutFrame(state, 8);
}

void longWorkingOutFrame(benchmark::State& state) {
    scrolledWorkingOutFrame(state, 4999);
}

// Each is measured several times, the repetitions of the three interleaved (see main),
// so that a burst of other work on a shared machine cannot fall on one of them only.
constexpr int repetitions = 7;
BENCHMARK(restingRecordedFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(freshQuestionFrame)->Unit(benchmark::kMicrosecond)->Repetitions(repetitions);
BENCHMARK(shortWorkingOutFrame)->Unit(benchmark::kMicrosecond)->Repetitions(repetitions);
BENCHMARK(longWorkingOutFrame)->Unit(benchmark::kMicrosecond)->Repetitions(repetitions);

// Keeps each benchmark's least processor time per frame over its repetitions for the
// ratios printed at the end: other work on the machine only ever adds time, so the
// least is the closest to the frame's own cost.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) {
                continue;
            }
            const double time = run.GetAdjustedCPUTime();
            const auto [entry, added] = timePerFrame.emplace(run.run_name.function_name, time);
            if (!added && time < entry->second) {
                entry->second = time;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> timePerFrame;
};

void printRatio(const RecordingReporter& reporter, const char* slower, const char* faster) {
    const auto first = reporter.timePerFrame.find(slower);
    const auto second = reporter.timePerFrame.find(faster);
    if (first == reporter.timePerFrame.end() || second == reporter.timePerFrame.end() ||
        second->second <= 0.0) {
        return;
    }
    std::printf("%s / %s: %.2f (least processor time per frame: %.0f us / %.0f us)\n", slower,
                faster, first->second / second->second, first->second, second->second);
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::current_path(BRICKETING_SOURCE_DIR);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QtDrawingServices services;
    installDrawingServices(&services);

    // Interleave the repetitions unless the command line says otherwise.
    std::vector<char*> arguments(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printRatio(reporter, "longWorkingOutFrame", "freshQuestionFrame");
    printRatio(reporter, "longWorkingOutFrame", "shortWorkingOutFrame");

    installDrawingServices(nullptr);
    return 0;
}
