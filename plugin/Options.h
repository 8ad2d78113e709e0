// The user's choices from the bar's settings menu, kept in the settings file. Each is off the way
// the bar works without them: the list by the mouse only, the history recorded, nothing kept.
#pragma once
#include <windows.h>

// The keys, in section "AppSetting"; each 0 or 1, a missing or unreadable one means its default.
extern const char kKeyAccessKey[];
extern const char kRecordHistoryKey[];
extern const char kKeepListKey[];

// Reads every choice into plugin (keyAccess, recordHistory, keepItems).
void LoadOptions();
// Stores one choice; false when the settings file would not take it (the choice still holds for
// this run).
bool SaveOption(const char* key, bool on);
