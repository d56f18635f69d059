// The window's resolution, for drawing the 800 x 600 picture at as many device pixels
// as the monitor's scaling asks for. The lookup goes through GetProcAddress, so the
// program still starts on Windows versions without the per-monitor calls.
#pragma once

#include "platform/win32/Win32Windows.h"

constexpr UINT standardDpi = 96;

// GetDpiForWindow where the system has it; else the screen's logical resolution, which
// is 96 for a program the system scales itself.
UINT windowDpi(HWND window);

// Device pixels per back-buffer pixel: 1 at 96 DPI, 1.5 at 144, 2 at 192.
float dpiScale(UINT dpi);

// The scale the window is drawn at: the resolution's own scale, or a smaller one at which
// a window of outerWidth x outerHeight back-buffer pixels (frame included) fits within a
// work area of workWidth x workHeight device pixels.
float scaleWithin(float dpiScale, int outerWidth, int outerHeight, int workWidth, int workHeight);
