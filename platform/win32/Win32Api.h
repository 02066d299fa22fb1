// <windows.h> as the Win32 back ends and the plug-in include it: without the min/max macros,
// and without the "A"/"W" macros whose names the framework uses for its own methods
// (Canvas::TextOut).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#undef TextOut
