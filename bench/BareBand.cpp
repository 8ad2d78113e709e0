#include "bench/BareBand.h"
#include "bench/Stats.h"
#include "res/resource.h"
#include <commctrl.h>
#include <algorithm>
#include <cstring>

// What the plug-in's band is made of, restated here so that the bare build shares no code with it.
static const DWORD kComboStyle = 0x56210143;
static const DWORD kToolbarStyleAdded = 0x4000884C;
static const DWORD kToolbarStyleFlipped = 0x00800001;
static const int kButtonIds[] = {ID_SAVE_WORD, ID_SAVE_TO_CARET, ID_SAVE_FROM_CARET, ID_SAVE_SELECTION,
                                 ID_SAVE_LINE, ID_SHOW_HISTORY, ID_HOLD_LIST, ID_SHOW_PALETTE,
                                 ID_DELETE_CHOSEN, ID_DELETE_ALL, ID_EXIT_TOOL};
static const int kButtons = sizeof kButtonIds / sizeof kButtonIds[0];
static const int kSeparators[] = {0, 5, 8, 10, 11};
static const UINT kBareBandId = 7777;
const char kBareBandProperty[] = "VexaroBenchBareBand";

// The band that hears of clipboard changes, as the plug-in's does, while it watches the clipboard.
static BareBand* watching = nullptr;

static INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM)
{
    if (watching != nullptr && message == WM_CLIPBOARDUPDATE) watching->OnClipboardChange();
    return message == WM_INITDIALOG;
}

void BareBand::WatchClipboard(bool on)
{
    if (on && watching == nullptr && dialog != nullptr) {
        watching = this;
        AddClipboardFormatListener(dialog);
    } else if (!on && watching == this) {
        RemoveClipboardFormatListener(dialog);
        watching = nullptr;
    }
    clipboardMs.clear();
    clipboardStepsMs.clear();
}

void BareBand::OnClipboardChange()
{
    clipboardMs.push_back(ClipboardChange(dialog, 30));
    clipboardStepsMs.push_back(ClipboardSteps());
}

BareBand::BareBand(HWND rebarWindow, HMODULE module) : rebar(rebarWindow), resources(module)
{
}

BareBand::~BareBand()
{
    WatchClipboard(false);
    ClosePalette();
    Close();
}

double BareBand::Open(const std::vector<std::string>& items, BandSteps* steps)
{
    BandSteps own;
    BandSteps& s = steps != nullptr ? *steps : own;
    Stopwatch all, step;
    dialog = CreateDialogParamA(resources, MAKEINTRESOURCEA(IDD_CLIPBAR), rebar, QuietDialog, 0);
    SetPropA(dialog, kBareBandProperty, reinterpret_cast<HANDLE>(1));
    s.dialog = step.ElapsedMs();

    step.Restart();
    TBBUTTON buttons[kButtons] = {};
    for (int i = 0; i < kButtons; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = kButtonIds[i];
        buttons[i].fsState = static_cast<BYTE>(i == 0 ? TBSTATE_HIDDEN : TBSTATE_ENABLED);
        buttons[i].fsStyle = TBSTYLE_BUTTON;
    }
    toolbar = CreateToolbarEx(dialog, WS_CHILD | WS_VISIBLE, IDC_TOOLBAR, kButtons, resources, IDB_TOOLBAR, buttons,
                              kButtons, 0, 0, 16, 15, sizeof(TBBUTTON));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    s.toolbar = step.ElapsedMs();

    step.Restart();
    tip = CreateWindowExA(0, TOOLTIPS_CLASSA, "", TTS_ALWAYSTIP, 0, 0, 0, 0, dialog, nullptr, resources, nullptr);
    TOOLINFOA tool = {TTTOOLINFOA_V2_SIZE, TTF_SUBCLASS, toolbar, 0, {0, 0, 0, 0}, resources, nullptr, 0, nullptr};
    for (int i = 0; i < kButtons; ++i) {
        tool.uId = static_cast<UINT_PTR>(kButtonIds[i]);
        tool.lpszText = MAKEINTRESOURCEA(kButtonIds[i]);
        SendMessageA(toolbar, TB_GETRECT, static_cast<WPARAM>(kButtonIds[i]), reinterpret_cast<LPARAM>(&tool.rect));
        SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageA(toolbar, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tip), 0);
    s.tips = step.ElapsedMs();

    step.Restart();
    LRESULT style = SendMessageA(toolbar, TB_GETSTYLE, 0, 0);
    SendMessageA(toolbar, TB_SETSTYLE, 0, (style | kToolbarStyleAdded) ^ kToolbarStyleFlipped);
    TBBUTTON separator = {};
    separator.fsState = TBSTATE_ENABLED;
    separator.fsStyle = TBSTYLE_SEP;
    for (int i = 0; i < 5; ++i)
        SendMessageA(toolbar, TB_INSERTBUTTONA, static_cast<WPARAM>(kSeparators[i] + i), reinterpret_cast<LPARAM>(&separator));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    s.styling = step.ElapsedMs();

    step.Restart();
    RECT last = {0, 0, 0, 0};
    SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0) - 1),
                 reinterpret_cast<LPARAM>(&last));
    combo = CreateWindowExA(0, "combobox", nullptr, kComboStyle, last.right, 3, 200, 400, toolbar,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CLIPLIST)), resources, nullptr);
    SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    SendMessageA(combo, CB_SETITEMHEIGHT, 0, 17);
    s.combo = step.ElapsedMs();

    step.Restart();
    bandImages = ImageList_Create(16, 16, ILC_COLORDDB | ILC_MASK, 1, 0);
    HICON icon = static_cast<HICON>(LoadImageA(resources, MAKEINTRESOURCEA(IDI_BAND), IMAGE_ICON, 16, 16, 0));
    ImageList_ReplaceIcon(bandImages, -1, icon);
    DestroyIcon(icon);
    REBARINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = RBIM_IMAGELIST;
    SendMessageA(rebar, RB_GETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    previousImages = info.himl;
    info.himl = bandImages;
    SendMessageA(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    s.image = step.ElapsedMs();

    step.Restart();
    RECT box = {0, 0, 0, 0};
    GetWindowRect(combo, &box);
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_STYLE | RBBIM_IMAGE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_BACKGROUND | RBBIM_ID;
    band.hwndChild = toolbar;
    band.cyMinChild = static_cast<UINT>(std::max<LONG>(26, 3 + box.bottom - box.top));
    band.wID = kBareBandId;
    SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    s.insert = step.ElapsedMs();

    step.Restart();
    Refill(items);
    s.rest = step.ElapsedMs();
    return all.ElapsedMs();
}

double BareBand::Close(std::vector<std::string>* items)
{
    if (dialog == nullptr) return 0;
    Stopwatch watch;
    ReadItems(items);
    SendMessageA(rebar, RB_DELETEBAND, static_cast<WPARAM>(SendMessageA(rebar, RB_IDTOINDEX, kBareBandId, 0)), 0);
    DestroyWindow(toolbar);
    DestroyWindow(tip);
    RemovePropA(dialog, kBareBandProperty);
    DestroyWindow(dialog);
    // The rebar gets its own picture list back before ours goes.
    REBARINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = RBIM_IMAGELIST;
    info.himl = previousImages;
    SendMessageA(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    ImageList_Destroy(bandImages);
    double ms = watch.ElapsedMs();
    dialog = toolbar = tip = combo = nullptr;
    bandImages = previousImages = nullptr;
    return ms;
}

double BareBand::ReadItems(std::vector<std::string>* items)
{
    Stopwatch watch;
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    std::vector<char> buffer(256);
    for (int i = 0; i < count; ++i) {
        size_t length = static_cast<size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
        if (length + 1 > buffer.size()) buffer.resize(length + 1);
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
        if (items != nullptr) items->push_back(buffer.data());
    }
    return watch.ElapsedMs();
}

double BareBand::Refill(const std::vector<std::string>& texts)
{
    Stopwatch watch;
    SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& text : texts)
        SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(combo, CB_SETCURSEL, texts.empty() ? static_cast<WPARAM>(-1) : texts.size() - 1, 0);
    SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
    // Redraw back on repaints nothing by itself: without this the list would show its old face.
    InvalidateRect(combo, nullptr, TRUE);
    return watch.ElapsedMs();
}

double BareBand::SetButtons(const int* ids, int count, bool enable)
{
    Stopwatch watch;
    // One message a button: the whole state, as nothing else about these buttons is set.
    LPARAM state = MAKELONG(enable ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE, 0);
    for (int i = 0; i < count; ++i) SendMessageA(toolbar, TB_SETSTATE, static_cast<WPARAM>(ids[i]), state);
    return watch.ElapsedMs();
}

double BareBand::CheckButton(int id, bool checked)
{
    Stopwatch watch;
    SendMessageA(toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(id), MAKELONG(checked, 0));
    return watch.ElapsedMs();
}

double BareBand::Hold(bool on)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    Stopwatch watch;
    SendMessageA(combo, CB_SHOWDROPDOWN, on, 0);
    if (on && GetComboBoxInfo(combo, &info)) {
        RECT box;
        GetWindowRect(combo, &box);
        SetWindowPos(info.hwndList, nullptr, box.left, box.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return watch.ElapsedMs();
}

double BareBand::HoldSteps(bool on)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    Stopwatch watch;
    if (!GetComboBoxInfo(combo, &info)) return watch.ElapsedMs();
    if (on) SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    ShowWindow(info.hwndList, on ? SW_SHOWNA : SW_HIDE);
    return watch.ElapsedMs();
}

double BareBand::ClipboardChange(HWND owner, int keep)
{
    Stopwatch watch;
    std::string text;
    formatsMs = 0;
    if (OpenClipboard(owner)) {
        // The copier's own text format, looked for in the clipboard's order: timed apart, as one
        // of the extra steps.
        Stopwatch formats;
        for (UINT f = EnumClipboardFormats(0); f != 0 && f != CF_TEXT && f != CF_UNICODETEXT; f = EnumClipboardFormats(f)) {
        }
        formatsMs = formats.ElapsedMs();
        HANDLE data = GetClipboardData(CF_TEXT);
        const char* locked = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
        if (locked != nullptr) text = locked;
        if (locked != nullptr) GlobalUnlock(data);
        CloseClipboard();
    }
    SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    if (count > keep) SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    return watch.ElapsedMs() - formatsMs;
}

double BareBand::ClipboardSteps()
{
    char text[512] = "";
    SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    Stopwatch watch;
    GetClipboardSequenceNumber();
    UINT formats[64];
    UINT count = 0;
    GetUpdatedClipboardFormats(formats, 64, &count);
    SendMessageA(combo, CB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>(text));
    return watch.ElapsedMs() + formatsMs;
}

double BareBand::OpenPalette(HWND owner, POINT place)
{
    Stopwatch watch;
    HRSRC found = FindResourceA(resources, MAKEINTRESOURCEA(IDD_PALETTE), MAKEINTRESOURCEA(5));
    DWORD size = found != nullptr ? SizeofResource(resources, found) : 0;
    const BYTE* resource = found != nullptr ? static_cast<const BYTE*>(LockResource(LoadResource(resources, found))) : nullptr;
    if (resource == nullptr || size < 16) return watch.ElapsedMs();
    // Shown without taking the activation, as the palette is: a copy of the template without
    // WS_VISIBLE (the style is at offset 12 of an extended template, 0 of a plain one).
    std::vector<BYTE> copy(resource, resource + size);
    bool extended = copy[2] == 0xFF && copy[3] == 0xFF;
    DWORD style;
    memcpy(&style, copy.data() + (extended ? 12 : 0), sizeof style);
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    memcpy(copy.data() + (extended ? 12 : 0), &style, sizeof style);
    palette = CreateDialogIndirectParamA(resources, reinterpret_cast<LPCDLGTEMPLATEA>(copy.data()), owner, QuietDialog, 0);
    SetWindowPos(palette, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(palette, SW_SHOWNOACTIVATE);
    return watch.ElapsedMs();
}

double BareBand::ClosePalette()
{
    if (palette == nullptr) return 0;
    Stopwatch watch;
    DestroyWindow(palette);
    palette = nullptr;
    return watch.ElapsedMs();
}
