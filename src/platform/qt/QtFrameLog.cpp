// The optional per-frame log; lines are buffered by the C library and written out a
// few times a second, so that a reader sees them soon without a write every frame.
#include "platform/qt/QtFrameLog.h"

#include <cstdlib>
#include <ctime>

namespace {
std::int64_t nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}
}  // namespace

QtFrameLog::QtFrameLog() {
    if (const char* path = std::getenv("BRICKETING_FRAME_LOG"); path != nullptr && *path) {
        file = std::fopen(path, "w");
    }
}

QtFrameLog::~QtFrameLog() {
    if (file != nullptr) {
        std::fclose(file);
    }
}

void QtFrameLog::frameStarts() {
    if (file != nullptr) {
        startWall = nanoseconds(CLOCK_MONOTONIC);
        startProcessor = nanoseconds(CLOCK_THREAD_CPUTIME_ID);
        framePresented = false;
    }
}

void QtFrameLog::frameEnded() {
    if (file == nullptr || startWall == 0) {
        return;
    }
    const std::int64_t endWall = nanoseconds(CLOCK_MONOTONIC);
    const std::int64_t processor = nanoseconds(CLOCK_THREAD_CPUTIME_ID) - startProcessor;
    std::fprintf(file, "%lld %lld %lld %d\n", static_cast<long long>(endWall),
                 static_cast<long long>((endWall - startWall) / 1000),
                 static_cast<long long>(processor / 1000), framePresented ? 1 : 0);
    constexpr std::int64_t flushEvery = 250000000;  // nanoseconds
    if (endWall - lastFlush > flushEvery) {
        std::fflush(file);
        lastFlush = endWall;
    }
}
