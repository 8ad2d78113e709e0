// A plug-in library loaded by the host, with its seven entry points.
#pragma once
#include <windows.h>
#include "host/HostProtocol.h"
#include <string>

struct LoadedPlugin {
    std::string path;
    HMODULE module = nullptr;
    UINT commandId = 0;      // the menu command the host gave it
    std::string menuText;    // from the plug-in's own string table
    std::string statusText;
    std::string name;        // what the plug-in calls itself (PlugInProc 2306)
    HBITMAP bitmap = nullptr;

    PluginOnCommand onCommand = nullptr;
    PluginQueryStatus queryStatus = nullptr;
    PluginOnEvents onEvents = nullptr;
    PluginGetId getMenuTextId = nullptr;
    PluginGetId getStatusMessageId = nullptr;
    PluginGetId getBitmapId = nullptr;
    PluginProc plugInProc = nullptr;
};

// Loads the library and looks up its entry points; reads its menu text, status text, picture
// and name. On failure nothing stays loaded and `error` says why.
bool LoadPlugin(const std::string& path, UINT commandId, HWND owner, LoadedPlugin& plugin, std::string& error);
// Whether the plug-in's command can run now (QueryStatus answers 1).
// `marked` (when given) gets the flag QueryStatus sets: the plug-in asks for a check mark.
bool PluginCommandEnabled(const LoadedPlugin& plugin, HWND view, bool* marked = nullptr);
// Releases the picture and the library.
void UnloadPlugin(LoadedPlugin& plugin);
