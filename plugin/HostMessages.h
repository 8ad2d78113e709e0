// The messages the plug-in sends to the host editor's frame window, and their records.
#pragma once
#include <windows.h>

enum HostMessage : UINT {
    HOSTMSG_REFRESH_STATUS    = 2050, // wParam commandId: ask QueryStatus again
    HOSTMSG_GET_SEL_TEXT      = 2051, // 0/0: selection size; else capacity, buffer
    HOSTMSG_GET_LINE          = 2053, // LineRequest*, 0 or buffer
    HOSTMSG_GET_CARET_POS     = 2054, // kind, EditPos*
    HOSTMSG_CONVERT_POS       = 2062, // EditPos*, same EditPos*
    HOSTMSG_EXEC_COMMAND      = 2070, // host command, 0
    HOSTMSG_GET_SEL_START     = 2074, // kind, EditPos*
    HOSTMSG_GET_SEL_END       = 2075, // kind, EditPos*
    HOSTMSG_INSERT_TEXT       = 2080, // 0, text
    HOSTMSG_SET_SELECTION     = 2081, // EditPos* from, EditPos* to
    HOSTMSG_SET_STATUS_TEXT   = 2085, // 0, text ("" clears)
    HOSTMSG_CONVERT_SELECTION = 2086, // conversion flag word, 0
    HOSTMSG_EDIT_BRACKET      = 2092, // 0 opens, 1 closes an undo group
};

// Host commands carried by HOSTMSG_EXEC_COMMAND.
enum HostCommand : UINT {
    HOSTCMD_CANCEL_SELECTION = 4187,
    HOSTCMD_SHOW_REBAR       = 4211,
};

// A position in the document: byte column in the line, then the line.
struct EditPos {
    LONG column;
    LONG line;
};

// What HOSTMSG_GET_LINE is asked for: capacity 0 asks for the line's size.
struct LineRequest {
    UINT capacity;
    UINT mode;
    UINT line;
};

static_assert(sizeof(EditPos) == 8, "EditPos is two 32-bit values");
static_assert(sizeof(LineRequest) == 12, "LineRequest is three 32-bit values");

// Sends a host message to the band's frame (plugin.bandFrame) and answers what the host answered.
LRESULT SendToHost(UINT message, WPARAM wParam, LPARAM lParam);
