// The conversion palette: a floating, never-activated dialog of nine check boxes.
#pragma once
#include <windows.h>

// The nine check boxes in settings order, ended by -1.
extern const int paletteControls[10];

INT_PTR CALLBACK PaletteDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PaletteWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Puts PaletteWndProc in front of the dialog's own procedure; closing the palette takes it out.
void SubclassPalette(HWND window);
void UpdatePaletteRules();
