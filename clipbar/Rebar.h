// The host's rebar and our band in it: finding them, and taking the band out.
#pragma once
#include <windows.h>

// The rebar among the host frame's children, or null.
HWND FindHostRebar();
// The index in `rebar` of the band with `bandId` whose child window is `child`, or -1. The host or
// another plug-in may have a band with the same id: only the one holding our child is ours.
int BandIdToIndex(HWND rebar, int bandId, HWND child);
// Deletes that band from `rebar`: 1 when it was there and is deleted, else 0.
int RemoveBand(HWND rebar, int bandId, HWND child);
// True while the band counts as open but the host has taken it away: the dialog, the toolbar or
// the toolbar's band in the band's own rebar is gone.
bool BandIsGone();
