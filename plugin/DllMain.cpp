#include <windows.h>
#include "plugin/PluginState.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) plugin.hInstance = instance;
    return TRUE;
}
