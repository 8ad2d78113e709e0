// Moving the palette by a drag loop of its own (the palette never lets itself be activated).
#pragma once
#include <windows.h>

void StartPaletteDrag();
void DrawDragOutline(bool collapse, bool start);
void RunDragLoop();
void EndPaletteDrag();
