// The seven entry points the host editor calls, exported under their plain names.
#pragma once
#include <windows.h>

extern "C" {
void WINAPI OnCommand(HWND window);
BOOL WINAPI QueryStatus(HWND window, LPBOOL flag);
void WINAPI OnEvents(HWND window, UINT flags, LPARAM value);
int WINAPI GetMenuTextID();
int WINAPI GetStatusMessageID();
int WINAPI GetBitmapID();
LRESULT WINAPI PlugInProc(HWND window, UINT request, WPARAM wParam, LPARAM lParam);
}

// Event flags of OnEvents.
enum PluginEvent : UINT {
    EVENT_MENU_REFRESH = 0x0040,
    EVENT_COMMAND_ID   = 0x0400,
    EVENT_UNLOAD       = 0x0800,
    EVENT_VIEW         = 0x2000,
};

// Requests of PlugInProc; any other, 2304 among them, is answered 0.
enum PluginRequest : UINT {
    REQUEST_2305 = 2305,
    REQUEST_NAME = 2306,
    REQUEST_VERSION = 2308,
    REQUEST_2310 = 2310,
    REQUEST_CONFIRM_DELETE = 2311,
};
