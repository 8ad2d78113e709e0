// Building the clip bar into the host's rebar: the band dialog, its toolbar and the clip list.
#pragma once
#include <windows.h>

// 1 when the band is in the host's rebar, else 0 with nothing of it left there. A new band starts
// in the normal mode.
int BuildBand();
