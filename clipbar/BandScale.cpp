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

HIMAGELIST LoadToolbarPictures(const BandScale& scale)
{
    const PictureSet& set = *scale.pictures;
    return ImageList_LoadImageA(plugin.hInstance, MAKEINTRESOURCEA(set.toolbarBitmap), set.imageWidth, 0,
                                kPictureBackground, IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

static UINT SystemDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void ApplyListFont(HWND combo, const BandScale& scale)
{
    // The stock font is made for the system's DPI as it was at sign-in; on a display of another
    // scale the list gets the same font at that scale.
    HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HFONT font = stock;
    UINT system = SystemDpi();
    LOGFONTA face = {};
    if (scale.dpi != system && stock != nullptr && GetObjectA(stock, sizeof face, &face) == sizeof face) {
        face.lfHeight = MulDiv(face.lfHeight, static_cast<int>(scale.dpi), static_cast<int>(system));
        HFONT scaled = CreateFontIndirectA(&face);
        if (scaled != nullptr) font = scaled;
    }
    if (font == stock && plugin.listFont == nullptr) return;
    SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ReleaseListFont();
    if (font != stock) plugin.listFont = font;
}

void ReleaseListFont()
{
    if (plugin.listFont != nullptr) DeleteObject(plugin.listFont);
    plugin.listFont = nullptr;
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
