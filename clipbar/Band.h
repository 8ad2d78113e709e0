// Putting the clip bar into the host's rebar and taking it out.
#pragma once
#include <windows.h>

HWND FindHostRebar();
int BuildBand();
int BandIdToIndex(HWND rebar, int bandId);
int RemoveBand(HWND rebar, int bandId);
