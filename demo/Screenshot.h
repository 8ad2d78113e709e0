// What a window looks like on the screen right now, menus and other windows on top included.
#pragma once
#include <windows.h>
#include "demo/PngWriter.h"

bool CaptureWindow(HWND window, RgbImage& image);
// A rectangle of the screen, whatever windows cover it.
bool CaptureScreen(const RECT& box, RgbImage& image);
