#include "clipbar/BandRelayout.h"
#include "clipbar/Band.h"
#include "clipbar/BandScale.h"
#include "clipbar/ClipBarDlg.h"
#include "clipbar/Rebar.h"
#include "clipbar/ToolBar.h"
#include "capture/ClipHistory.h"
#include "common/Dpi.h"
#include "plugin/Globals.h"
#include "plugin/PluginState.h"
#include "res/resource.h"
#include <commctrl.h>

static void CopyButtonStates(HWND from, HWND to)
{
    for (int i = 0; clipBarButtons[i].id != -1; ++i) {
        WPARAM id = static_cast<WPARAM>(clipBarButtons[i].id);
        LRESULT state = SendMessageA(from, TB_GETSTATE, id, 0);
        if (state != -1) SendMessageA(to, TB_SETSTATE, id, MAKELONG(static_cast<BYTE>(state), 0));
    }
}

// Pictures of another size can go only into a new toolbar (the control takes a picture size
// before its first pictures only): one made for `scale` takes the band's place, with the buttons'
// states, the tips, the list's items and its choice, the focus and a held list kept. The list
// goes with it, as a list tells its notices to the parent it was made with. False, with the old
// toolbar left in place, when the new one cannot be had.
static bool SwapToolbar(const BandScale& scale)
{
    HWND old = plugin.toolbarWindow;
    HWND oldCombo = plugin.comboWindow;
    HWND rebar = GetParent(plugin.bandDialog);
    int index = BandIdToIndex(rebar, BAND_ID, old);
    if (index == -1) return false;
    CDimPack items;
    if (clipCombo.ReadAllItems(items) == -1) return false;
    LRESULT chosen = SendMessageA(oldCombo, CB_GETCURSEL, 0, 0);
    bool focused = GetFocus() == oldCombo;

    HIMAGELIST images = nullptr;
    const char* failure = nullptr;
    HWND toolbar = MakeToolbar(scale, &images, &failure);
    if (toolbar == nullptr) return false;
    CopyButtonStates(old, toolbar);
    HWND combo = CreateClipList(toolbar, scale);
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_CHILD;
    band.hwndChild = toolbar;
    if (combo == nullptr || ReplaceClipList(items, false) == -1 ||
        !SendMessageA(rebar, RB_SETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band))) {
        clipCombo.SetOwner(old);
        DestroyWindow(toolbar);
        if (images != nullptr) ImageList_Destroy(images);
        return false;
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);

    plugin.toolbarWindow = toolbar;
    plugin.comboWindow = combo;
    WatchToolbar(toolbar);
    // The old toolbar's watch sees that it no longer watches the band's toolbar, and saves nothing.
    DestroyWindow(old);
    ReleaseToolbarPictures();
    plugin.toolbarImages = images;
    plugin.toolbarPictureSize = PictureSizeOf(images);
    if (focused) SetFocus(combo);
    if (plugin.keepDropDown) SetDropDownHold(1, plugin.historyShown);
    return true;
}

void RelayOutBand()
{
    if (plugin.toolbarWindow == nullptr || plugin.comboWindow == nullptr || !IsWindow(plugin.toolbarWindow)) return;
    BandScale scale = CurrentBandScale();
    plugin.layoutDpi = scale.dpi;
    if (scale.pictures->size != plugin.toolbarPictureSize) SwapToolbar(scale);
    HWND toolbar = plugin.toolbarWindow;
    HWND combo = plugin.comboWindow;
    ApplyListFont(combo, scale);
    RECT box = {0, 0, 0, 0};
    GetWindowRect(combo, &box);
    SetWindowPos(combo, nullptr, ClipListLeft(toolbar), ClipListTop(scale), ClipListWidth(scale), box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    clipCombo.SetItemHeight(ClipListRowHeight(combo, scale));
    clipCombo.SetListHeight(ClipListDropHeight(scale));
    clipCombo.ApplyListHeight(clipCombo.GetCount() > 0 ? ClipListDropHeight(scale) : 0);

    HWND rebar = GetParent(plugin.bandDialog);
    int index = BandIdToIndex(rebar, BAND_ID, toolbar);
    if (index == -1) return;
    SetBandImage(rebar, scale);
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_CHILDSIZE;
    band.cxMinChild = 0;
    band.cyMinChild = BandChildHeight(toolbar, combo, scale);
    SendMessageA(rebar, RB_SETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
}

void NoticeBandScale(HWND dialog)
{
    if (plugin.relayoutPosted || plugin.toolbarWindow == nullptr || plugin.bandClosed) return;
    if (WindowDpi(dialog) == plugin.layoutDpi) return;
    // Posted: the toolbar may be painting, and a new layout can make it anew.
    if (PostMessageA(dialog, kBandRelayoutMessage, 0, 0)) plugin.relayoutPosted = true;
}

void OnRelayoutPosted()
{
    plugin.relayoutPosted = false;
    if (plugin.bandClosed || WindowDpi(plugin.bandDialog) == plugin.layoutDpi) return;
    RelayOutBand();
}
