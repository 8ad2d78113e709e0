// Sizes are written as a 96-DPI screen sees them; these scale them for the display a window is on.
#pragma once
#include <windows.h>

// The DPI of the window's display: GetDpiForWindow where the system has it (Windows 10 1607 and
// later), otherwise the system's DPI.
UINT WindowDpi(HWND window);
// A 96-DPI size at `dpi`, rounded as MulDiv rounds.
int ScaleForDpi(int size, UINT dpi);
