// The browser frame benchmark's measuring side: update + draw of the lesson panel on an
// off-screen back buffer, per frame, for a fresh 9999 / 2 and for 9999 / 2 after 4,999
// steps scrolled to its end. The page calls it through Module.benchmarkFrames
// (src/platform/web/WebBench.js); it is linked into the web program, not the backend.
#include <emscripten.h>

#include "BenchLesson.h"
#include "lesson/LessonPanel.h"
#include "platform/web/WebBridge.h"
#include "platform/web/WebDrawing.h"

namespace {

using namespace bench;  // the lesson both benchmarks drive

constexpr int longSteps = 4999;

// Browsers coarsen performance.now() to a tenth of a millisecond or so, less than a
// frame takes; so frames are timed in batches, each batch ended by reading a pixel
// back, which makes the canvas finish the drawing it had only queued. Each entry is
// the mean time per frame of one batch.
void measureFrames(LessonPanel& panel, WebBackBuffer& buffer, int batches, int batchFrames,
                   double* milliseconds) {
    for (int batch = 0; batch < batches; ++batch) {
        const double start = emscripten_get_now();
        for (int frame = 0; frame < batchFrames; ++frame) {
            panel.update(frameSeconds, pointer);
            buffer.clear();
            panel.draw(buffer);
        }
        web_finish_drawing(buffer.surface);
        milliseconds[batch] = (emscripten_get_now() - start) / batchFrames;
    }
}

}  // namespace

// Fills fresh[0..batches) and longWorkingOut[0..batches) with milliseconds per frame,
// one entry per batch of batchFrames frames; 0 when the long working-out could not be
// set up.
extern "C" EMSCRIPTEN_KEEPALIVE int bricketing_benchmark(int batches, int batchFrames,
                                                         double* fresh, double* longWorkingOut) {
    WebBackBuffer buffer(800, 600);
    {
        LessonPanel panel;
        startQuestion(panel, 9999, 2);
        measureFrames(panel, buffer, batches, batchFrames, fresh);
    }
    LessonPanel panel;
    startQuestion(panel, 9999, 2);
    panel.update(frameSeconds, pointer);  // the first frame, which never glides
    if (!takeSingleLots(panel.board, longSteps) || !glideToEnd(panel)) {
        return 0;
    }
    measureFrames(panel, buffer, batches, batchFrames, longWorkingOut);
    return 1;
}
