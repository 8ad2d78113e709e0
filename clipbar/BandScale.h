// The clip bar laid out for the scale of its display. Every size is written as a 96-DPI screen
// sees it (there: the list at x 270, y 3, 200 wide, rows of 17, a band child 26 high, 16 x 15
// pictures) and scaled for the band's own window.
#pragma once
#include <windows.h>
#include <commctrl.h>

// The pictures drawn for one scale.
struct PictureSet {
    int size;           // 16, 24 or 32
    int toolbarBitmap;  // the strip of the eleven toolbar pictures
    int imageWidth;
    int imageHeight;
    int bandIcon;       // the band's own picture, size x size
};

struct BandScale {
    UINT dpi;
    const PictureSet* pictures;
};

// The scale of plugin.bandDialog's display, with the picture set nearest to it.
BandScale CurrentBandScale();
int ScaledSize(int size96, const BandScale& scale);
// The scale's toolbar pictures as an image list of our own (the caller frees it); null when they
// cannot be loaded.
HIMAGELIST LoadToolbarPictures(const BandScale& scale);
// The toolbar image list of the open band, released as the band goes.
void ReleaseToolbarPictures();
// The list's font: the default GUI font, made again for the band's DPI where that is not the
// system's; released with the band or as the next one replaces it.
void ApplyListFont(HWND combo, const BandScale& scale);
void ReleaseListFont();
// Where the clip list starts: right after the toolbar's last item, as the toolbar lays it out.
int ClipListLeft(HWND toolbar);
int ClipListTop(const BandScale& scale);
int ClipListWidth(const BandScale& scale);
// The list's height when dropped down.
int ClipListDropHeight(const BandScale& scale);
// Rows at least as tall as the list's font.
int ClipListRowHeight(HWND combo, const BandScale& scale);
// The band child's height: room for the buttons and for the list inside the toolbar.
UINT BandChildHeight(HWND toolbar, HWND combo, const BandScale& scale);
// The band's picture in the rebar's image list, for the scale.
void SetBandImage(HWND rebar, const BandScale& scale);
