// The plug-in's process-wide state: one instance per loaded library, used on the host's UI thread only.
#pragma once
#include <windows.h>

struct PluginState {
    HINSTANCE hInstance = nullptr;
    HWND hostWindow = nullptr;   // host frame: parent of the view, target of host messages
    HWND viewWindow = nullptr;   // the host's view; gets the keyboard focus back
    WPARAM commandId = 0;        // handed back with HOSTMSG_REFRESH_STATUS
    HWND comboWindow = nullptr;
    HWND toolbarWindow = nullptr;
    HWND bandDialog = nullptr;
    HWND paletteWindow = nullptr; // null exactly while no palette exists
    BYTE bandClosed = 1;

    // Modes of the open band.
    BYTE historyShown = 0;
    BYTE keepDropDown = 0;
    BYTE paletteShown = 0;
    BYTE comboMoved = 0;
    RECT lastComboRect = {0, 0, 0, 0};
    HWND nextClipboardViewer = nullptr;
    BYTE nudgeRight = 0;

    // The conversion palette.
    WNDPROC prevPaletteProc = nullptr;
    BYTE hostInactive = 0;
    BYTE selectAllState = 0;
    BYTE alnumForced = 0;
    BYTE alnumSaved = 0;
};

extern PluginState plugin;
