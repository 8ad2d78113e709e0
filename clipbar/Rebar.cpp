#include "clipbar/Rebar.h"
#include "plugin/PluginState.h"
#include "res/resource.h"
#include <commctrl.h>

static const char kRebarClass[] = "ReBarWindow32";

HWND FindHostRebar()
{
    // The frame the band is opened in.
    if (plugin.bandFrame == nullptr) return nullptr;
    // Walk the siblings after the view ourselves: Wine's FindWindowExA finds nothing when the
    // child-after window is of another class.
    HWND child = plugin.bandView != nullptr && GetParent(plugin.bandView) == plugin.bandFrame
                     ? GetWindow(plugin.bandView, GW_HWNDNEXT)
                     : GetWindow(plugin.bandFrame, GW_CHILD);
    for (; child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, kRebarClass) == 0) return child;
    }
    return nullptr;
}

int BandIdToIndex(HWND rebar, int bandId, HWND child)
{
    if (rebar == nullptr) return -1;
    int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = REBARBANDINFOA_V6_SIZE;
        band.fMask = RBBIM_ID | RBBIM_CHILD;
        if (!SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band))) continue;
        if (band.wID == static_cast<UINT>(bandId) && band.hwndChild == child) return i;
    }
    return -1;
}

int RemoveBand(HWND rebar, int bandId, HWND child)
{
    int index = BandIdToIndex(rebar, bandId, child);
    if (index == -1) return 0;
    return SendMessageA(rebar, RB_DELETEBAND, index, 0) != 0 ? 1 : 0;
}

// The rebar the open band was built in (its dialog's parent), whichever frame the host has made
// current since; null when the dialog is gone.
static HWND BandRebar()
{
    if (plugin.bandDialog == nullptr || !IsWindow(plugin.bandDialog)) return nullptr;
    return GetParent(plugin.bandDialog);
}

bool BandIsGone()
{
    if (plugin.bandClosed != 0 || plugin.bandDialog == nullptr) return false;
    // Looked for in its own rebar, not the current frame's: the host may have several frames.
    return !IsWindow(plugin.bandDialog) || !IsWindow(plugin.toolbarWindow) ||
           BandIdToIndex(BandRebar(), BAND_ID, plugin.toolbarWindow) == -1;
}
