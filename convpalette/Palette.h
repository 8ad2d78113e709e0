// The conversion palette: a floating, never-activated dialog of nine check boxes.
#pragma once
#include <windows.h>

// What the open palette's check boxes say, for an insertion to convert by.
struct PaletteTicks {
    bool katakana;
    bool kanaSymbol;
    bool alnum;
    bool alnumSymbol;
    bool space;
    bool fullWidth;
    bool halfWidth;
    bool upper;
    bool lower;
};

// Creates the palette from its template, owned by `owner`, and shows it without activating it, so
// that the keyboard stays in the document. Null when it cannot be made.
HWND CreatePalette(HINSTANCE module, HWND owner);
INT_PTR CALLBACK PaletteDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PaletteWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Puts PaletteWndProc in front of the dialog's own procedure; closing the palette takes it out.
void SubclassPalette(HWND window);
void UpdatePaletteRules();
// Reads the boxes of plugin.paletteWindow, in the order of the fields.
PaletteTicks ReadPaletteTicks();
