// The plug-in's global objects, constructed in this order when the library is attached.
#pragma once
#include "common/AppVal.h"
#include "cliplist/Cmb.h"
#include "cliplist/DimPack.h"
#include "common/IniFile.h"

extern CAppVal messenger;     // owner and caption of the band code's error boxes
extern CCmb clipCombo;        // the clip list combo box
extern CDimPack savedItems;   // the clip list while the band is closed or the history is shown
extern CDimPack clipHistory;  // the last 30 clipboard texts
extern IniFile iniFile;       // the settings file beside the library
