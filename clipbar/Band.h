// Putting the clip bar into the host's rebar and taking it out.
#pragma once
#include <windows.h>

HWND FindHostRebar();
int BuildBand();
int BandIdToIndex(HWND rebar, int bandId);
int RemoveBand(HWND rebar, int bandId);
// True while the band counts as open but the host has taken it away: the dialog, the toolbar or
// band 1000 of the rebar is gone.
bool BandIsGone();
