// The small toolbar toolkit: a flat toolbar built from a button table and one bitmap strip.
#pragma once
#include <windows.h>
#include <commctrl.h>

struct ButtonDef {
    int id;          // command id; -1 ends the table
    char text[90];   // tip text; when the first row's is empty, every tip is the string-table
                     // entry with the button's id
    BYTE state;      // TBSTATE_*
    BYTE style;      // TBSTYLE_*
};
static_assert(sizeof(ButtonDef) == 96, "a button row is 96 bytes");

// The clip bar's eleven buttons and the end row, in image order.
extern const ButtonDef clipBarButtons[12];
// Separator positions of the clip bar, ended by -1.
extern const int clipBarSeparators[6];

// width/height 0 mean 16/15; style 0 means WS_CHILD | WS_VISIBLE.
HWND CreateToolBar(HWND parent, int controlId, int bitmapId, const ButtonDef* table,
                   int imageWidth, int imageHeight, DWORD style);
// The same toolbar with the pictures of an image list (the caller's, freed by the caller after the
// toolbar), for picture sizes other than the bitmap strip's.
HWND CreateImageListToolBar(HWND parent, int controlId, HIMAGELIST images, const ButtonDef* table,
                            int imageWidth, int imageHeight, DWORD style);
int InsertSeparators(HWND toolbar, const int* positions);
int ToggleButtonCheck(HWND toolbar, int id);
// The button plainly enabled, checked or not, in one message, for a caller that knows which it
// is to be (ToggleButtonCheck asks the toolbar first). 1 when set.
int SetButtonChecked(HWND toolbar, int id, BYTE checked);
LRESULT SetButtonEnabled(HWND toolbar, int id, BYTE enable);
// Buttons that are never checked (nor hidden), enabled or greyed and marked indeterminate, one
// message each: under Wine every toolbar message costs a wineserver round trip per subclass, so
// a button's state is not read first. Returns how many were set.
int SetPlainButtonsEnabled(HWND toolbar, const int* ids, int count, BYTE enable);
