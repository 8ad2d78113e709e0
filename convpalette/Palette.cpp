#include "convpalette/Palette.h"
#include "convpalette/PaletteDrag.h"
#include "common/Memory.h"
#include "plugin/Globals.h"
#include "plugin/LibraryHold.h"
#include "plugin/PluginState.h"
#include "res/resource.h"
#include <cstdio>
#include <cstring>

// The nine check boxes in settings order, ended by -1.
static const int paletteControls[10] = {IDC_KATAKANA, IDC_KANA_SYMBOL, IDC_ALNUM, IDC_ALNUM_SYMBOL, IDC_SPACE,
                                 IDC_FULL_WIDTH, IDC_HALF_WIDTH, IDC_UPPER, IDC_LOWER, -1};

static const char kKeyTop[] = "StrConvDlg_Top";
static const char kKeyLeft[] = "StrConvDlg_Left";
static const int kValueSize = 260;
static const DWORD kPollMs = 50;

static bool IsConversionBox(int id)
{
    return id == IDC_FULL_WIDTH || id == IDC_HALF_WIDTH || id == IDC_UPPER || id == IDC_LOWER;
}

static HWND Control(int id)
{
    return GetDlgItem(plugin.paletteWindow, id);
}

static bool Ticked(int id)
{
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) != 0;
}

PaletteTicks ReadPaletteTicks()
{
    PaletteTicks ticks;
    ticks.katakana = Ticked(IDC_KATAKANA);
    ticks.kanaSymbol = Ticked(IDC_KANA_SYMBOL);
    ticks.alnum = Ticked(IDC_ALNUM);
    ticks.alnumSymbol = Ticked(IDC_ALNUM_SYMBOL);
    ticks.space = Ticked(IDC_SPACE);
    ticks.fullWidth = Ticked(IDC_FULL_WIDTH);
    ticks.halfWidth = Ticked(IDC_HALF_WIDTH);
    ticks.upper = Ticked(IDC_UPPER);
    ticks.lower = Ticked(IDC_LOWER);
    return ticks;
}

static void SetTick(int id, WPARAM state)
{
    SendMessageA(Control(id), BM_SETCHECK, state, 0);
}

static void FormatCheckKey(char* key, size_t size, int index)
{
    snprintf(key, size, "StrConvDlg_ChkVal%d", index);
}

static LONG Clamp(LONG value, LONG low, LONG high)
{
    return value < low ? low : value > high ? high : value;
}

// A saved position can lie beyond every monitor (an edited file, a monitor since removed), where
// the palette, which never takes the focus, could not be reached: it is moved onto the work area
// of the nearest monitor. A position that shows some of the palette is kept.
static POINT ReachablePosition(HWND window, int left, int top)
{
    RECT now = {0, 0, 0, 0};
    GetWindowRect(window, &now);
    LONG width = now.right - now.left;
    LONG height = now.bottom - now.top;
    // No screen reaches this far; the bound keeps the sums below from overflowing.
    const LONG kFar = 1000000;
    POINT at = {Clamp(left, -kFar, kFar), Clamp(top, -kFar, kFar)};
    RECT wanted = {at.x, at.y, at.x + width, at.y + height};
    if (MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL) != nullptr) return at;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) return {0, 0};
    const RECT& work = monitor.rcWork;
    at.x = Clamp(at.x, work.left, work.right - width > work.left ? work.right - width : work.left);
    at.y = Clamp(at.y, work.top, work.bottom - height > work.top ? work.bottom - height : work.top);
    return at;
}

// One choice of settings file for all the keys of one opening or closing: the folder beside the
// library is probed once, not once a key.
class SettingsPlaceHeld {
public:
    SettingsPlaceHeld() { iniFile.HoldPlace(); }
    ~SettingsPlaceHeld() { iniFile.ReleasePlace(); }
    SettingsPlaceHeld(const SettingsPlaceHeld&) = delete;
    SettingsPlaceHeld& operator=(const SettingsPlaceHeld&) = delete;
};

static void InitPalette(HWND window)
{
    SettingsPlaceHeld place;
    int top = 0;
    int left = 0;
    iniFile.ReadInt(kKeyTop, &top, 0, kValueSize);
    iniFile.ReadInt(kKeyLeft, &left, 0, kValueSize);
    POINT at = ReachablePosition(window, left, top);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    for (int i = 0; paletteControls[i] != -1; ++i) {
        char key[30];
        FormatCheckKey(key, sizeof key, i);
        int value = 0;
        iniFile.ReadInt(key, &value, 0, kValueSize);
        SendMessageA(GetDlgItem(window, paletteControls[i]), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
    UpdatePaletteRules();
    // Both captions drawn active: the palette looks like part of the editor, which keeps the focus.
    PostMessageA(plugin.bandFrame, WM_NCACTIVATE, TRUE, 0);
    PostMessageA(window, WM_NCACTIVATE, TRUE, 0);
}

// The procedure is taken typed, never cast: on i686 a procedure without CALLBACK must not compile.
static WNDPROC SetWindowProc(HWND window, WNDPROC proc)
{
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

void SubclassPalette(HWND window)
{
    plugin.prevPaletteProc = SetWindowProc(window, PaletteWndProc);
}

// The template's style word: DLGTEMPLATEEX keeps it after its version, signature, help id and
// extended style; DLGTEMPLATE starts with it.
static DWORD* TemplateStyle(void* dialogTemplate, DWORD size)
{
    BYTE* bytes = static_cast<BYTE*>(dialogTemplate);
    bool extended = size >= 16 && reinterpret_cast<WORD*>(bytes)[1] == 0xFFFF;
    if (extended) return reinterpret_cast<DWORD*>(bytes + 12);
    return size >= 4 ? reinterpret_cast<DWORD*>(bytes) : nullptr;
}

HWND CreatePalette(HINSTANCE module, HWND owner)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDD_PALETTE), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* resource = loaded != nullptr ? LockResource(loaded) : nullptr;
    DWORD size = found != nullptr ? SizeofResource(module, found) : 0;
    if (resource == nullptr || size == 0) return nullptr;
    // The template says WS_VISIBLE, and the dialog manager shows a visible dialog activated: a
    // copy without it is made, and shown here without taking the activation.
    MemArray<BYTE> copy;
    if (!copy.Allocate(size)) return nullptr;
    memcpy(copy.Data(), resource, size);
    DWORD* style = TemplateStyle(copy.Data(), size);
    if (style == nullptr) return nullptr;
    *style &= ~static_cast<DWORD>(WS_VISIBLE);
    HWND palette = CreateDialogIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(copy.Data()), owner,
                                              PaletteDlgProc, 0);
    if (palette != nullptr) ShowWindow(palette, SW_SHOWNOACTIVATE);
    return palette;
}

static void SavePalette(HWND window)
{
    if (plugin.prevPaletteProc != nullptr) SetWindowProc(window, plugin.prevPaletteProc);
    SetActiveWindow(plugin.bandFrame);
    // The keyboard goes back to the document, unless the editor is not in front or is closing.
    if (GetActiveWindow() == plugin.bandFrame && IsWindowVisible(plugin.bandView)) SetFocus(plugin.bandView);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    // Only the palette's own keys, one by one: whatever else the section holds stays.
    SettingsPlaceHeld place;
    iniFile.WriteInt(kKeyTop, placement.rcNormalPosition.top);
    iniFile.WriteInt(kKeyLeft, placement.rcNormalPosition.left);
    for (int i = 0; paletteControls[i] != -1; ++i) {
        char key[30];
        FormatCheckKey(key, sizeof key, i);
        iniFile.WriteInt(key, static_cast<int>(SendMessageA(GetDlgItem(window, paletteControls[i]), BM_GETCHECK, 0, 0)));
    }
}

INT_PTR CALLBACK PaletteDlgProc(HWND window, UINT message, WPARAM, LPARAM)
{
    LibraryInUse inUse;
    plugin.paletteWindow = window;
    switch (message) {
    case WM_INITDIALOG:
        HoldLibraryFor(window);
        InitPalette(window);
        // FALSE: the dialog manager's default focus would go to the first box, and focusing a
        // control activates its window, taking the keyboard from the document.
        return FALSE;
    case WM_DESTROY:
        SavePalette(window);
        return FALSE;
    case WM_NCDESTROY:
        ReleaseLibraryFor(window);
        return FALSE;
    default:
        return FALSE;
    }
}

static void ReleaseAlnum()
{
    if (plugin.alnumForced == 1) {
        plugin.alnumForced = 0;
        SetTick(IDC_ALNUM, plugin.alnumSaved);
    }
}

static void ShowTargets(bool show)
{
    int how = show ? SW_SHOWNOACTIVATE : SW_HIDE;
    for (int i = 0; paletteControls[i] != -1; ++i) {
        if (!IsConversionBox(paletteControls[i])) ShowWindow(Control(paletteControls[i]), how);
    }
    ShowWindow(Control(IDC_SELECT_ALL), how);
    ShowWindow(Control(IDC_LETTERS_ONLY), show ? SW_HIDE : SW_SHOWNOACTIVATE);
}

void UpdatePaletteRules()
{
    bool width = Ticked(IDC_FULL_WIDTH) || Ticked(IDC_HALF_WIDTH);
    bool letterCase = Ticked(IDC_UPPER) || Ticked(IDC_LOWER);
    if (!width && !letterCase) {
        ReleaseAlnum();
        EnableWindow(Control(IDC_ALNUM), TRUE);
    } else if (!width && letterCase) {
        ReleaseAlnum();
    }
    // Case conversion alone applies to letters only: the target choice gives way to a label.
    ShowTargets(!(letterCase && !width));
    if (width && letterCase) {
        // Keep the user's own choice from when the forcing began, so the release gives it back.
        if (plugin.alnumForced == 0) plugin.alnumSaved = Ticked(IDC_ALNUM) ? 1 : 0;
        SetTick(IDC_ALNUM, BST_CHECKED);
        EnableWindow(Control(IDC_ALNUM), FALSE);
        plugin.alnumForced = 1;
    } else if (width && !letterCase) {
        ReleaseAlnum();
        EnableWindow(Control(IDC_ALNUM), TRUE);
    }
}

static void Toggle(int id)
{
    SetTick(id, Ticked(id) ? BST_UNCHECKED : BST_CHECKED);
}

// Ticks one box of an exclusive pair and unticks the other.
static void ToggleExclusive(int id, int other)
{
    Toggle(id);
    if (Ticked(id)) SetTick(other, BST_UNCHECKED);
    UpdatePaletteRules();
}

static void PressSelectAll()
{
    HWND button = Control(IDC_SELECT_ALL);
    SendMessageA(button, BM_SETSTATE, 1, 0);
    int mouseButton = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    do {
        Sleep(kPollMs);
    } while (GetAsyncKeyState(mouseButton) & 0x8000);
    SendMessageA(button, BM_SETSTATE, 0, 0);
    plugin.selectAllState = static_cast<BYTE>(1 - plugin.selectAllState);
    for (int i = 0; paletteControls[i] != -1; ++i) {
        if (!IsConversionBox(paletteControls[i])) SetTick(paletteControls[i], plugin.selectAllState);
    }
    if (!IsWindowEnabled(Control(IDC_ALNUM))) SetTick(IDC_ALNUM, BST_CHECKED);
}

static void ActOnControl(int id)
{
    switch (id) {
    case IDC_KATAKANA:
    case IDC_KANA_SYMBOL:
    case IDC_ALNUM:
    case IDC_ALNUM_SYMBOL:
    case IDC_SPACE: Toggle(id); break;
    case IDC_FULL_WIDTH: ToggleExclusive(IDC_FULL_WIDTH, IDC_HALF_WIDTH); break;
    case IDC_HALF_WIDTH: ToggleExclusive(IDC_HALF_WIDTH, IDC_FULL_WIDTH); break;
    case IDC_UPPER: ToggleExclusive(IDC_UPPER, IDC_LOWER); break;
    case IDC_LOWER: ToggleExclusive(IDC_LOWER, IDC_UPPER); break;
    case IDC_SELECT_ALL: PressSelectAll(); break;
    default: break;
    }
}

static void OnActivateApp(HWND window)
{
    HWND front = GetForegroundWindow();
    if (front != nullptr && (front == plugin.bandFrame || GetParent(front) == plugin.bandFrame)) {
        if (front != window) PostMessageA(window, WM_NCACTIVATE, TRUE, 0);
    } else {
        plugin.hostInactive = 1;
        PostMessageA(window, WM_NCACTIVATE, FALSE, 0);
    }
}

static void OnLeftClick(HWND window)
{
    if (plugin.hostInactive == 1 && IsWindowEnabled(plugin.bandFrame)) {
        plugin.hostInactive = 0;
        SetForegroundWindow(plugin.bandFrame);
    }
    POINT point;
    GetCursorPos(&point);
    HWND under = WindowFromPoint(point);
    if (under != nullptr && under != window && IsChild(window, under)) {
        ActOnControl(GetDlgCtrlID(under));
    } else {
        StartPaletteDrag();
    }
}

LRESULT CALLBACK PaletteWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LibraryInUse inUse;
    switch (message) {
    case WM_ACTIVATEAPP:
        OnActivateApp(window);
        break;
    case WM_MOUSEACTIVATE:
        // Every click is ours: the palette never takes the activation from the editor.
        if (HIWORD(lParam) == WM_LBUTTONDOWN) OnLeftClick(window);
        return MA_NOACTIVATEANDEAT;
    default:
        break;
    }
    return CallWindowProcA(plugin.prevPaletteProc, window, message, wParam, lParam);
}
