// Building the clip bar into the host's rebar: the band dialog, its toolbar and the clip list.
#pragma once
#include "clipbar/BandScale.h"
#include <windows.h>
#include <commctrl.h>

// 1 when the band is in the host's rebar, else 0 with nothing of it left there. A new band starts
// in the normal mode.
int BuildBand();
// The band's toolbar for `scale`, as the band dialog's child, with its tips, style and separators;
// `images` gets the image list it shows, when it is one of ours. Null, with the message to show
// in `failure`, when it could not be made; nothing of it is left then.
HWND MakeToolbar(const BandScale& scale, HIMAGELIST* images, const char** failure);
// The width of the pictures of a toolbar made with `images` (16 for the bitmap strip).
int PictureSizeOf(HIMAGELIST images);
// The clip list inside `toolbar`, empty, placed for `scale`, with the stock font.
HWND CreateClipList(HWND toolbar, const BandScale& scale);
