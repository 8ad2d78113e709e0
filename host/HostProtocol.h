// What the editor and its plug-ins agree on, as the editor defines it: the messages a plug-in
// sends to the frame, their records, the events and requests the editor sends, and the types of
// a plug-in's seven entry points. Written for the editor alone; it shares nothing with a plug-in.
#pragma once
#include <windows.h>

// Messages a plug-in sends to the frame window.
enum HostMessageId : UINT {
    HM_REFRESH_STATUS    = 2050, // wParam: the plug-in's command value; ask QueryStatus again
    HM_GET_SEL_TEXT      = 2051, // 0/0: size of the selection; else capacity, buffer
    HM_GET_LINE          = 2053, // HostLineRequest*, 0 or buffer
    HM_GET_CARET_POS     = 2054, // kind, HostPos*
    HM_CONVERT_POS       = 2062, // HostPos*, same HostPos*
    HM_EXEC_COMMAND      = 2070, // editor command, 0
    HM_GET_SEL_START     = 2074, // kind, HostPos*
    HM_GET_SEL_END       = 2075, // kind, HostPos*
    HM_INSERT_TEXT       = 2080, // 0, text
    HM_SET_SELECTION     = 2081, // HostPos* from, HostPos* to
    HM_SET_STATUS_TEXT   = 2085, // 0, text ("" clears)
    HM_CONVERT_SELECTION = 2086, // conversion flag word, 0
    HM_EDIT_BRACKET      = 2092, // 0 opens, 1 closes an undo group
};

// Editor commands carried by HM_EXEC_COMMAND.
enum HostCommandId : UINT {
    HC_CANCEL_SELECTION = 4187,
    HC_SHOW_REBAR       = 4211,
};

// A position: byte column in the line (0 is the line start), then the line; both signed 32-bit.
struct HostPos {
    LONG column;
    LONG line;
};

// The request of HM_GET_LINE: capacity in bytes (0 asks for the line's size), mode, line.
struct HostLineRequest {
    UINT capacity;
    UINT mode;
    UINT line;
};

static_assert(sizeof(HostPos) == 8, "a position is two 32-bit values");
static_assert(sizeof(HostLineRequest) == 12, "a line request is three 32-bit values");

// Events the editor reports to every plug-in through OnEvents.
enum HostEvent : UINT {
    HE_MENU_REFRESH = 0x0040,
    HE_COMMAND_ID   = 0x0400,
    HE_UNLOAD       = 0x0800,
    HE_VIEW         = 0x2000,
};

// PlugInProc requests the editor makes.
enum HostRequest : UINT {
    HR_NAME = 2306, // the plug-in's name: wParam capacity, lParam buffer
    HR_CONFIRM_REMOVE = 2311, // the user asks to remove the plug-in: nonzero if the plug-in agrees
};

// A plug-in's entry points, as the editor calls them.
typedef void (WINAPI* PluginOnCommand)(HWND view);
typedef BOOL (WINAPI* PluginQueryStatus)(HWND view, LPBOOL flag);
typedef void (WINAPI* PluginOnEvents)(HWND view, UINT flags, LPARAM value);
typedef int (WINAPI* PluginGetId)();
typedef LRESULT (WINAPI* PluginProc)(HWND view, UINT request, WPARAM wParam, LPARAM lParam);
