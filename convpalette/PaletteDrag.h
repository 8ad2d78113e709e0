// Moving the palette by a drag loop of its own (the palette never lets itself be activated).
#pragma once
#include <windows.h>

void StartPaletteDrag();
void DrawDragOutline(bool collapse, bool start);
void RunDragLoop();
void EndPaletteDrag();

// The outline now on the screen (empty when none), for tests.
RECT PaletteDragOutline();
