// A measuring aid for the desktop benchmark: with BRICKETING_FRAME_LOG naming a file,
// the program writes one line per frame to it (the monotonic clock at the frame's end,
// the frame's wall-clock and processor time in microseconds, and whether it was
// presented). Without the variable it does nothing and costs one test per frame.
#pragma once

#include <cstdint>
#include <cstdio>

class QtFrameLog {
public:
    QtFrameLog();
    ~QtFrameLog();
    QtFrameLog(const QtFrameLog&) = delete;
    QtFrameLog& operator=(const QtFrameLog&) = delete;

    void presented() { framePresented = true; }
    // Called as the loop goes to sleep after a frame, and as it wakes up again.
    void frameEnded();
    void frameStarts();

private:
    std::FILE* file = nullptr;
    std::int64_t startWall = 0;
    std::int64_t startProcessor = 0;
    std::int64_t lastFlush = 0;
    bool framePresented = false;
};
