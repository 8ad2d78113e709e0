#include "clipbar/BandScale.h"
#include "clipbar/Rebar.h"
#include "common/Dpi.h"
#include "plugin/Globals.h"
#include "plugin/PluginState.h"
#include "res/resource.h"
#include <commctrl.h>
#include <cstdlib>

static const int kComboY = 3;
static const int kComboWidth = 200;
static const int kListHeight = 400;
static const int kItemHeight = 17;
static const UINT kBandChildHeight = 26;
// A toolbar button is its picture plus this much (what the toolbar gives 16 x 15 pictures).
static const int kButtonMargin = 7;
static const COLORREF kPictureBackground = RGB(192, 192, 192);  // silver, shown as the button face

static const PictureSet kPictureSets[] = {
    {16, IDB_TOOLBAR, 16, 15, IDI_BAND},
    {24, IDB_TOOLBAR_24, 24, 24, IDI_BAND_24},
    {32, IDB_TOOLBAR_32, 32, 32, IDI_BAND_32},
};

// The set nearest to the 16-pixel pictures at `dpi`; halfway (125 %, 175 %) takes the larger.
static const PictureSet* PicturesFor(UINT dpi)
{
    int wanted = ScaleForDpi(16, dpi);
    const PictureSet* best = &kPictureSets[0];
    for (const PictureSet& set : kPictureSets) {
        if (abs(set.size - wanted) <= abs(best->size - wanted)) best = &set;
    }
    return best;
}

BandScale CurrentBandScale()
{
    BandScale scale;
    scale.dpi = WindowDpi(plugin.bandDialog);
    scale.pictures = PicturesFor(scale.dpi);
    return scale;
}

int ScaledSize(int size96, const BandScale& scale)
{
    return ScaleForDpi(size96, scale.dpi);
}

void ReleaseToolbarPictures()
{
    if (plugin.toolbarImages != nullptr) ImageList_Destroy(plugin.toolbarImages);
    plugin.toolbarImages = nullptr;
}

bool ApplyToolbarPictures(HWND toolbar, const BandScale& scale, bool made)
{
    const PictureSet& set = *scale.pictures;
    if (made && set.size == 16) return true;
    HIMAGELIST images = ImageList_LoadImageA(plugin.hInstance, MAKEINTRESOURCEA(set.toolbarBitmap), set.imageWidth, 0,
                                             kPictureBackground, IMAGE_BITMAP, LR_CREATEDIBSECTION);
    if (images == nullptr) return false;
    // The toolbar keeps the image list it was made with (its own); only ours is ever released.
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    ReleaseToolbarPictures();
    plugin.toolbarImages = images;
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(set.imageWidth, set.imageHeight));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(set.imageWidth + kButtonMargin, set.imageHeight + kButtonMargin));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    return true;
}

int ClipListLeft(HWND toolbar)
{
    int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    RECT last = {0, 0, 0, 0};
    if (count <= 0 || !SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last)))
        return 0;
    return last.right;
}

static int FontHeight(HWND window)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    HDC dc = GetDC(window);
    if (dc == nullptr) return 0;
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics = {};
    int height = GetTextMetricsA(dc, &metrics) ? metrics.tmHeight : 0;
    if (old != nullptr) SelectObject(dc, old);
    ReleaseDC(window, dc);
    return height;
}

int ClipListRowHeight(HWND combo, const BandScale& scale)
{
    int row = ScaledSize(kItemHeight, scale);
    int text = FontHeight(combo);
    return text > row ? text : row;
}

UINT BandChildHeight(HWND toolbar, HWND combo, const BandScale& scale)
{
    UINT height = static_cast<UINT>(ScaledSize(static_cast<int>(kBandChildHeight), scale));
    RECT box = {0, 0, 0, 0};
    RECT outer = {0, 0, 0, 0};
    RECT inner = {0, 0, 0, 0};
    if (combo != nullptr && GetWindowRect(combo, &box) && GetWindowRect(toolbar, &outer) && GetClientRect(toolbar, &inner)) {
        // The closed list, from its top inside the toolbar's client area to its bottom, and the
        // toolbar's own border around that area.
        int border = (outer.bottom - outer.top) - (inner.bottom - inner.top);
        UINT needed = static_cast<UINT>(ScaledSize(kComboY, scale) + (box.bottom - box.top) + border);
        if (needed > height) height = needed;
    }
    UINT buttons = HIWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
    return buttons > height ? buttons : height;
}

int ClipListTop(const BandScale& scale)
{
    return ScaledSize(kComboY, scale);
}

int ClipListWidth(const BandScale& scale)
{
    return ScaledSize(kComboWidth, scale);
}

int ClipListDropHeight(const BandScale& scale)
{
    return ScaledSize(kListHeight, scale);
}

void SetBandImage(HWND rebar, const BandScale& scale)
{
    int size = scale.pictures->size;
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLORDDB | ILC_MASK, 1, 0);
    HICON icon = static_cast<HICON>(
        LoadImageA(plugin.hInstance, MAKEINTRESOURCEA(scale.pictures->bandIcon), IMAGE_ICON, size, size, 0));
    if (images != nullptr && icon != nullptr) ImageList_ReplaceIcon(images, -1, icon);
    if (images != nullptr) {
        REBARINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = RBIM_IMAGELIST;
        info.himl = images;
        HIMAGELIST previous = nullptr;
        REBARINFO current = {};
        current.cbSize = sizeof current;
        current.fMask = RBIM_IMAGELIST;
        if (SendMessageA(rebar, RB_GETBARINFO, 0, reinterpret_cast<LPARAM>(&current))) previous = current.himl;
        // wParam 0: the control documents RB_SETBARINFO's wParam as reserved, "must be zero".
        if (SendMessageA(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info))) {
            // Only an image list of our own is ever released, as our next one replaces it; the
            // host's stays the host's.
            if (plugin.bandImageList != nullptr && previous == plugin.bandImageList)
                ImageList_Destroy(plugin.bandImageList);
            plugin.bandImageList = images;
        } else {
            ImageList_Destroy(images);
        }
    }
    if (icon != nullptr) DestroyIcon(icon);
}

void RelayOutBand()
{
    HWND toolbar = plugin.toolbarWindow;
    HWND combo = plugin.comboWindow;
    if (toolbar == nullptr || combo == nullptr || !IsWindow(toolbar)) return;
    BandScale scale = CurrentBandScale();
    ApplyToolbarPictures(toolbar, scale, false);
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
