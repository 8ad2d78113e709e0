#include "plugin/Exports.h"
#include "capture/ClipHistory.h"
#include "capture/KeptList.h"
#include "plugin/Globals.h"
#include "plugin/HostMessages.h"
#include "plugin/LibraryHold.h"
#include "plugin/PluginState.h"
#include "clipbar/Rebar.h"
#include "res/resource.h"
#include <cstring>

int WINAPI GetMenuTextID() { return IDS_MENU_TEXT; }
int WINAPI GetStatusMessageID() { return IDS_STATUS_TEXT; }
int WINAPI GetBitmapID() { return IDB_COMMAND; }

BOOL WINAPI QueryStatus(HWND window, LPBOOL flag)
{
    if (flag != nullptr) *flag = 0;
    // A band the host took away can be opened again.
    if (plugin.bandClosed == 1 || BandIsGone()) return 1;
    // With the keyboard path chosen, the command in the bar's own frame drops its list; the
    // flag lets the host show that the bar is open.
    if (plugin.keyAccess && window != nullptr && GetParent(window) == plugin.bandFrame) {
        if (flag != nullptr) *flag = 1;
        return 1;
    }
    return 0;
}

void WINAPI OnEvents(HWND window, UINT flags, LPARAM value)
{
    LibraryInUse inUse;
    if (flags & EVENT_COMMAND_ID) {
        plugin.commandId = static_cast<WPARAM>(value);
        char version[80] = "";
        LoadStringA(plugin.hInstance, IDS_VERSION_TEXT, version, sizeof version);
        HWND frame = GetParent(window);
        messenger.SetOwner(frame);
        messenger.SetCaption(version);
        iniFile.SetOwner(frame);
        iniFile.SetCaption(version);
    }
    if (flags & EVENT_VIEW) {
        plugin.hostWindow = GetParent(window);
        plugin.viewWindow = window;
        messenger.SetOwner(plugin.hostWindow);
    }
    if (flags & EVENT_MENU_REFRESH) {
        SendMessageA(window, HOSTMSG_REFRESH_STATUS, plugin.commandId, 0);
    }
    if (flags & EVENT_UNLOAD) {
        // A read still pending would put a copy made before this into the emptied history.
        CancelClipboardRetry();
        savedItems.Clear();
        clipHistory.Clear();
        ForgetKeptListRead();
    }
}

// Copies string `id` into the caller's buffer (at most `capacity` bytes, always terminated)
// and answers the text's full length plus one.
static LRESULT AnswerText(UINT id, WPARAM capacity, LPARAM buffer)
{
    char text[80] = "";
    LoadStringA(plugin.hInstance, id, text, sizeof text);
    size_t length = strlen(text);
    if (buffer != 0 && capacity > 0) {
        char* out = reinterpret_cast<char*>(buffer);
        size_t n = length < capacity - 1 ? length : capacity - 1;
        memcpy(out, text, n);
        out[n] = '\0';
    }
    return static_cast<LRESULT>(length + 1);
}

LRESULT WINAPI PlugInProc(HWND window, UINT request, WPARAM wParam, LPARAM lParam)
{
    LibraryInUse inUse;
    switch (request) {
    case REQUEST_2305:
    case REQUEST_2310:
        return 1;
    case REQUEST_NAME:
        return AnswerText(IDS_VERSION_TEXT, wParam, lParam);
    case REQUEST_VERSION:
        return AnswerText(IDS_VERSION_TEXT2, wParam, lParam);
    case REQUEST_CONFIRM_DELETE: {
        char text[80] = "";
        LoadStringA(plugin.hInstance, IDS_DELETE_QUERY, text, sizeof text);
        return MessageBoxA(window, text, "エディタ", MB_YESNO | MB_ICONQUESTION) == IDYES ? 1 : 0;
    }
    default:
        return 0;
    }
}
