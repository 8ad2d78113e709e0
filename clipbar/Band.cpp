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

HWND MakeToolbar(const BandScale& scale, HIMAGELIST* images, const char** failure)
{
    ButtonDef buttons[12];
    memcpy(buttons, clipBarButtons, sizeof buttons);
    *images = nullptr;
    *failure = "ツールバーの生成に失敗しました！！";
    // The 16-pixel pictures come as the bitmap strip; any other set as an image list, which the
    // toolbar must have before its buttons. Without the scale's pictures the bar still works with
    // the 16-pixel set.
    HIMAGELIST scaled = scale.pictures->size != 16 ? LoadToolbarPictures(scale) : nullptr;
    HWND toolbar = scaled != nullptr
                       ? CreateImageListToolBar(plugin.bandDialog, IDC_TOOLBAR, scaled, buttons, scale.pictures->imageWidth,
                                                scale.pictures->imageHeight, 0)
                       : CreateToolBar(plugin.bandDialog, IDC_TOOLBAR, IDB_TOOLBAR, buttons, 16, 15, 0);
    if (toolbar != nullptr) {
        LRESULT style = SendMessageA(toolbar, TB_GETSTYLE, 0, 0);
        if (style == 0) {
            *failure = "ツールバーの状態変更に失敗しました！！";
        } else {
            SendMessageA(toolbar, TB_SETSTYLE, 0, (style | kToolbarStyleAdded) ^ kToolbarStyleFlipped);
            SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
            if (InsertSeparators(toolbar, clipBarSeparators)) {
                *images = scaled;
                *failure = nullptr;
                return toolbar;
            }
            *failure = "ツールバーの状態設定に失敗しました！！";
        }
        DestroyWindow(toolbar);
    }
    if (scaled != nullptr) ImageList_Destroy(scaled);
    return nullptr;
}

int PictureSizeOf(HIMAGELIST images)
{
    int width = 16, height = 15;
    if (images != nullptr) ImageList_GetIconSize(images, &width, &height);
    return width;
}

HWND CreateClipList(HWND toolbar, const BandScale& scale)
{
    clipCombo.SetShowMessages(0);
    clipCombo.SetOwner(toolbar);
    clipCombo.SetListHeight(ClipListDropHeight(scale));
    clipCombo.SetControlId(IDC_CLIPLIST);
    return clipCombo.Create(nullptr, ClipListLeft(toolbar), ClipListTop(scale), ClipListWidth(scale), kComboStyle, nullptr);
}

int BuildBand()
{
    HWND rebar = FindHostRebar();
    if (rebar == nullptr) return 0;

    // A new band always starts in the normal mode.
    plugin.historyShown = 0;
    plugin.keepDropDown = 0;
    plugin.comboMoved = 0;
    plugin.paletteShown = 0;
    plugin.relayoutPosted = false;
    plugin.listFromKeyboard = false;

    plugin.bandDialog = CreateDialogParamA(plugin.hInstance, MAKEINTRESOURCEA(IDD_CLIPBAR), rebar, ClipBar, 0);
    if (plugin.bandDialog == nullptr) return FailBuild("ウインドウの生成に失敗しました！！");

    BandScale scale = CurrentBandScale();
    const char* failure = nullptr;
    plugin.toolbarWindow = MakeToolbar(scale, &plugin.toolbarImages, &failure);
    if (plugin.toolbarWindow == nullptr) return FailBuild(failure);
    WatchToolbar(plugin.toolbarWindow);
    plugin.toolbarPictureSize = PictureSizeOf(plugin.toolbarImages);
    plugin.layoutDpi = scale.dpi;

    plugin.comboWindow = CreateClipList(plugin.toolbarWindow, scale);
    if (plugin.comboWindow == nullptr) return FailBuild("コンボボックスの生成に失敗しました！！");
    ApplyListFont(plugin.comboWindow, scale);
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
