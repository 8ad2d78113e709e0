#include "plugin/Options.h"
#include "plugin/Globals.h"
#include "plugin/PluginState.h"

const char kKeyAccessKey[] = "ClipList_KeyAccess";
const char kRecordHistoryKey[] = "ClipHistory_Record";
const char kKeepListKey[] = "ClipList_Keep";

static const DWORD kValueSize = 260;

static bool ReadChoice(const char* key, bool defaultValue)
{
    int value = defaultValue ? 1 : 0;
    // Anything but 0 or 1 is no choice the menu made: the default stands.
    if (!iniFile.ReadInt(key, &value, value, kValueSize) || (value != 0 && value != 1)) return defaultValue;
    return value == 1;
}

void LoadOptions()
{
    iniFile.HoldPlace();
    plugin.keyAccess = ReadChoice(kKeyAccessKey, false);
    plugin.recordHistory = ReadChoice(kRecordHistoryKey, true);
    plugin.keepItems = ReadChoice(kKeepListKey, false);
    iniFile.ReleasePlace();
}

bool SaveOption(const char* key, bool on)
{
    return iniFile.WriteInt(key, on ? 1 : 0);
}
