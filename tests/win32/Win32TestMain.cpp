// Runs the Win32 backend's tests with GDI+ started and the backend's drawing services
// installed, as the program's entry point has them.
#include <gtest/gtest.h>

#include "platform/win32/Win32Drawing.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const GdiplusSession gdiplus;
    if (!gdiplus.started()) {
        return 2;
    }
    Win32DrawingServices drawing;
    installDrawingServices(&drawing);
    const int result = RUN_ALL_TESTS();
    installDrawingServices(nullptr);
    return result;
}
