#include "plugin/Globals.h"
#include "plugin/PluginState.h"

// One translation unit, so the construction order is the order of definition.
PluginState plugin;
CAppVal messenger;
CCmb clipCombo;
CDimPack savedItems;
CDimPack clipHistory;
IniFile iniFile;
