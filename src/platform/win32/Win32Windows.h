// The Windows and GDI+ headers for the backend, in the one order that works: the
// platform layer's own headers first. Windows declares a function named Rectangle,
// which from then on hides the program's Rectangle type, so the backend names that
// type Box.
#pragma once

// clang-format off
#include "platform/Drawing.h"
#include "platform/Geometry.h"
#include "platform/Host.h"

using Box = Rectangle;

#include <windows.h>
// GDI+ needs the COM and stream declarations that the lean Windows header leaves out.
#include <objidl.h>
#include <gdiplus.h>
// clang-format on
