#include "clipbar/Band.h"
#include "clipbar/BandScale.h"
#include "clipbar/ClipBarDlg.h"
#include "clipbar/Rebar.h"
#include "clipbar/ToolBar.h"
#include "plugin/Globals.h"
#include "plugin/PluginState.h"
#include "res/resource.h"
#include <commctrl.h>
#include <cstddef>
#include <cstring>

#if !defined(_WIN64)
// REBARBANDINFOA_V6_SIZE, written so the compiler can check it.
static_assert(offsetof(REBARBANDINFOA, cxHeader) + sizeof(UINT) == 80, "the band record is 80 bytes as passed");
static_assert(sizeof(REBARINFO) == 12, "the rebar information record is 12 bytes");
#endif

// The clip list: a sorted drop-down list with a vertical scroll bar.
static const DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL | WS_TABSTOP |
                                 CBS_SORT | CBS_AUTOHSCROLL | CBS_DROPDOWNLIST;
static_assert(kComboStyle == 0x56210143, "the clip list's style is 0x56210143");
// Added to the toolbar's style: flat and see-through, without a divider, left where the rebar
// puts it and at the size it is given.
static const DWORD kToolbarStyleAdded = WS_CHILD | TBSTYLE_TRANSPARENT | TBSTYLE_FLAT | CCS_NODIVIDER |
                                        CCS_NOPARENTALIGN | CCS_NORESIZE;
static_assert(kToolbarStyleAdded == 0x4000884C, "the toolbar's added style is 0x4000884C");
// Then flipped, not cleared: each of these ends the other way from how the toolbar had it.
static const DWORD kToolbarStyleFlipped = WS_BORDER | CCS_TOP;
static_assert(kToolbarStyleFlipped == 0x00800001, "the toolbar's flipped style is 0x00800001");

// Takes down what a build that failed half-way had made, so no orphan windows stay in the rebar.
static int FailBuild(const char* message)
{
    if (message != nullptr) messenger.ShowMessage(message, "", "x", "o");
    if (plugin.toolbarWindow != nullptr) DestroyWindow(plugin.toolbarWindow);
    HWND dialog = plugin.bandDialog;
    plugin.toolbarWindow = nullptr;
    plugin.comboWindow = nullptr;
    plugin.bandDialog = nullptr;
    if (dialog != nullptr) DestroyWindow(dialog);
    return 0;
}

int BuildBand()
{
    ButtonDef buttons[12];
    memcpy(buttons, clipBarButtons, sizeof buttons);

    HWND rebar = FindHostRebar();
    if (rebar == nullptr) return 0;

    // A new band always starts in the normal mode.
    plugin.historyShown = 0;
    plugin.keepDropDown = 0;
    plugin.comboMoved = 0;
    plugin.paletteShown = 0;

    plugin.bandDialog = CreateDialogParamA(plugin.hInstance, MAKEINTRESOURCEA(IDD_CLIPBAR), rebar, ClipBar, 0);
    if (plugin.bandDialog == nullptr) return FailBuild("ウインドウの生成に失敗しました！！");

    plugin.toolbarWindow = CreateToolBar(plugin.bandDialog, IDC_TOOLBAR, IDB_TOOLBAR, buttons, 16, 15, 0);
    if (plugin.toolbarWindow == nullptr) return FailBuild("ツールバーの生成に失敗しました！！");
    WatchToolbar(plugin.toolbarWindow);

    LRESULT style = SendMessageA(plugin.toolbarWindow, TB_GETSTYLE, 0, 0);
    if (style == 0) return FailBuild("ツールバーの状態変更に失敗しました！！");
    SendMessageA(plugin.toolbarWindow, TB_SETSTYLE, 0, (style | kToolbarStyleAdded) ^ kToolbarStyleFlipped);
    SendMessageA(plugin.toolbarWindow, TB_AUTOSIZE, 0, 0);

    if (!InsertSeparators(plugin.toolbarWindow, clipBarSeparators))
        return FailBuild("ツールバーの状態設定に失敗しました！！");
    // Pictures for the display's scale; without them the bar still works with the 16-pixel set.
    BandScale scale = CurrentBandScale();
    ApplyToolbarPictures(plugin.toolbarWindow, scale, true);

    clipCombo.SetShowMessages(0);
    clipCombo.SetOwner(plugin.toolbarWindow);
    clipCombo.SetListHeight(ClipListDropHeight(scale));
    clipCombo.SetControlId(IDC_CLIPLIST);
    plugin.comboWindow = clipCombo.Create(nullptr, ClipListLeft(plugin.toolbarWindow), ClipListTop(scale),
                                          ClipListWidth(scale), kComboStyle, nullptr);
    if (plugin.comboWindow == nullptr) return FailBuild("コンボボックスの生成に失敗しました！！");
    clipCombo.SetItemHeight(ClipListRowHeight(plugin.comboWindow, scale));

    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_STYLE | RBBIM_IMAGE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_BACKGROUND | RBBIM_ID;
    band.fStyle = 0;
    band.iImage = 0;
    band.hwndChild = plugin.toolbarWindow;
    band.cxMinChild = 0;
    band.cyMinChild = BandChildHeight(plugin.toolbarWindow, plugin.comboWindow, scale);
    band.cx = 0;
    band.hbmBack = nullptr;
    band.wID = BAND_ID;

    SetBandImage(rebar, scale);

    if (SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) == 0)
        return FailBuild("バンドの追加に失敗しました！！");
    return 1;
}
