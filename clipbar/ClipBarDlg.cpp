#include "clipbar/ClipBarDlg.h"
#include "clipbar/BandRelayout.h"
#include "clipbar/BandScale.h"
#include "clipbar/ListKeys.h"
#include "clipbar/Rebar.h"
#include "clipbar/SettingsMenu.h"
#include "clipbar/ToolBar.h"
#include "clipbar/ToolTip.h"
#include "capture/Capture.h"
#include "common/Dpi.h"
#include "capture/ClipHistory.h"
#include "capture/Insert.h"
#include "capture/KeptList.h"
#include "capture/Status.h"
#include "convpalette/Palette.h"
#include "plugin/Globals.h"
#include "plugin/HostMessages.h"
#include "plugin/LibraryHold.h"
#include "plugin/PluginState.h"
#include "res/resource.h"
#include <commctrl.h>

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

static const UINT kHoldPeriodMs = 100;
static const int kNudgePixels = 3;

// The buttons a held list greys out, in the order they are switched; none of them is checked
// then (the history button is among them only outside the history view).
static const int kHoldButtons[] = {ID_SAVE_TO_CARET, ID_SAVE_FROM_CARET, ID_SAVE_SELECTION, ID_SAVE_LINE,
                                   ID_SHOW_HISTORY, ID_DELETE_CHOSEN, ID_DELETE_ALL, ID_EXIT_TOOL};
static const int kHoldButtonCount = sizeof kHoldButtons / sizeof kHoldButtons[0];
// The buttons the history view greys out: plain command buttons, never checked.
static const int kHistoryButtons[] = {ID_SAVE_TO_CARET, ID_SAVE_FROM_CARET, ID_SAVE_SELECTION, ID_SAVE_LINE,
                                      ID_DELETE_CHOSEN, ID_DELETE_ALL, ID_EXIT_TOOL};
static const int kHistoryButtonCount = sizeof kHistoryButtons / sizeof kHistoryButtons[0];

int SetDropDownHold(BYTE hold, BYTE historyShown)
{
    if (hold) {
        clipCombo.ShowDropDown(1);
        clipCombo.ShowDropDown(0);
        HWND list = clipCombo.PlaceDropList();
        if (list == nullptr) return 0;
        if (SetTimer(plugin.bandDialog, HOLD_TIMER_ID, kHoldPeriodMs, nullptr) == 0) return 0;
        ShowWindow(list, SW_SHOW);
        if (historyShown) {
            SetButtonEnabled(plugin.toolbarWindow, ID_SHOW_HISTORY, 0);
        } else {
            SetPlainButtonsEnabled(plugin.toolbarWindow, kHoldButtons, kHoldButtonCount, 0);
        }
        return 1;
    }
    clipCombo.ShowDropDown(0);
    HWND list = clipCombo.DropList();
    if (list == nullptr) return 0;
    // A list that something else had hidden: the hold goes on, and the next tick shows it again.
    if (!ShowWindow(list, SW_HIDE)) return 0;
    if (historyShown) {
        SetButtonEnabled(plugin.toolbarWindow, ID_SHOW_HISTORY, 1);
    } else {
        SetPlainButtonsEnabled(plugin.toolbarWindow, kHoldButtons, kHoldButtonCount, 1);
    }
    if (!KillTimer(plugin.bandDialog, HOLD_TIMER_ID)) return 0;
    return 1;
}

void SetHistoryButtons(BYTE historyShown)
{
    SetPlainButtonsEnabled(plugin.toolbarWindow, kHistoryButtons, kHistoryButtonCount, static_cast<BYTE>(1 - historyShown));
}

// Once per opened band, while its list still exists. A half-built band saves nothing: its list
// never held the user's items.
static void SaveClipList()
{
    if (plugin.listSaved) return;
    plugin.listSaved = true;
    // In the history view the list shows the history: the user's items are already in savedItems.
    if (!plugin.historyShown) BackupClosingClipList();
    KeepList(true);
}

// A rebar may destroy its bands' child windows before its other children hear of it (Wine's
// does): the list inside the toolbar is saved as the toolbar goes, if that comes first. A hidden
// child of the toolbar hears of that (every window of a destroyed tree still exists while each
// hears of it), so that the toolbar itself has no subclass of ours: under Wine each subclass of
// a window costs a wineserver round trip on every message to it, and the toolbar gets many.
static LRESULT CALLBACK ToolbarWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    LibraryInUse inUse;
    // A toolbar that was replaced for another scale leaves the list to its successor.
    if (message == WM_DESTROY && plugin.bandClosed == 0 && GetParent(window) == plugin.toolbarWindow) SaveClipList();
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, ToolbarWatch, 0);
        ReleaseLibraryFor(window);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void WatchToolbar(HWND toolbar)
{
    HWND watch = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 0, 0, toolbar, nullptr, plugin.hInstance, nullptr);
    if (watch != nullptr && SetWindowSubclass(watch, ToolbarWatch, 0, 0)) HoldLibraryFor(watch);
}

static void OnDestroy(HWND dialog)
{
    bool wasOpen = plugin.bandClosed == 0;
    plugin.bandClosed = 1;
    SendToHost(HOSTMSG_REFRESH_STATUS, plugin.commandId, 0);
    if (wasOpen) SaveClipList();
    clipCombo.SetShowMessages(0);
    clipCombo.DeleteAll();
    clipCombo.Close();
    // The timers belong to this band only.
    KillTimer(dialog, HOLD_TIMER_ID);
    StopClipboardWatch(dialog);
    // A dialog destroyed by the host would leave our band in its rebar (the dialog's parent),
    // without its child.
    RemoveBand(GetParent(dialog), BAND_ID, plugin.toolbarWindow);
    DestroyWindow(plugin.toolbarWindow);
    ReleaseToolbarPictures();
    ReleaseListFont();
    // The tips go with their band, never later at unload (inside DllMain no window may be touched).
    if (plugin.toolTip != nullptr) plugin.toolTip->Destroy();
    DestroyWindow(plugin.paletteWindow);
    plugin.paletteWindow = nullptr;
}

static void OnNotify(HWND dialog, const NMHDR* header)
{
    if (header != nullptr && header->code == NM_RCLICK && header->hwndFrom == plugin.toolbarWindow) {
        POINT at = {0, 0};
        GetCursorPos(&at);
        ShowSettingsMenu(dialog, at);
        return;
    }
    // The toolbar's paint: where a band whose editor is not told of a new scale sees it first.
    if (header != nullptr && header->code == NM_CUSTOMDRAW && header->hwndFrom == plugin.toolbarWindow &&
        reinterpret_cast<const NMCUSTOMDRAW*>(header)->dwDrawStage == CDDS_PREPAINT)
        NoticeBandScale(dialog);
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(plugin.comboWindow, &rect);
    if (!EqualRect(&rect, &plugin.lastComboRect) && plugin.keepDropDown == 1) plugin.comboMoved = 1;
    plugin.lastComboRect = rect;
}

// The history and hold buttons are checked exactly while their flag is set, so the flag says
// what the button becomes without asking the toolbar.
static void ToggleHistoryButton()
{
    BYTE shown = static_cast<BYTE>(1 - plugin.historyShown);
    if (SetButtonChecked(plugin.toolbarWindow, ID_SHOW_HISTORY, shown)) plugin.historyShown = shown;
}

static void ToggleHoldButton()
{
    BYTE hold = static_cast<BYTE>(1 - plugin.keepDropDown);
    if (SetButtonChecked(plugin.toolbarWindow, ID_HOLD_LIST, hold)) plugin.keepDropDown = hold;
}

static void OnHoldTimer()
{
    HWND list = clipCombo.PlaceDropList();
    if (list == nullptr) return;
    // The frame the band lives in, not the host's current one: with several frames, switching to
    // another frame brings that one to the front and must end the hold like any other window.
    HWND bandFrame = GetAncestor(plugin.bandDialog, GA_ROOT);
    if (plugin.comboMoved == 0 && IsWindowVisible(plugin.toolbarWindow) && IsWindowVisible(list) &&
        GetForegroundWindow() == bandFrame)
        return;
    ToggleHoldButton();
    SetDropDownHold(plugin.keepDropDown, plugin.historyShown);
    plugin.comboMoved = 0;
}

static void NudgePointer()
{
    POINT point;
    if (!GetCursorPos(&point)) return;
    int nudge = ScaleForDpi(kNudgePixels, WindowDpi(plugin.bandDialog));
    point.x += plugin.nudgeRight == 1 ? nudge : -nudge;
    SetCursorPos(point.x, point.y);
    plugin.nudgeRight = static_cast<BYTE>(1 - plugin.nudgeRight);
}

void InsertFromList()
{
    ShowStatus("", 0);
    InsertChosenItem();
    NudgePointer();
}

static void ToggleHistory()
{
    ToggleHistoryButton();
    bool refill = false;
    if (!SwitchClipList(plugin.historyShown, &refill)) {
        ToggleHistoryButton();
        // Refilled from savedItems also after an empty history, so the bottom item is chosen as
        // after any return to the normal view; but never from a savedItems that could not take
        // the list's items, which would lose them.
        if (refill) SwitchClipList(plugin.historyShown);
    }
    SetHistoryButtons(plugin.historyShown);
}

static void ExitTool(HWND dialog)
{
    // The band lives in the rebar it was built in, which need not be the current frame's.
    if (RemoveBand(GetParent(dialog), BAND_ID, plugin.toolbarWindow) == 0)
        messenger.ShowMessage("バンドの破棄に失敗しました！！", "", "x", "o");
    DestroyWindow(dialog);
}

void EndHold()
{
    if (!plugin.keepDropDown) return;
    ToggleHoldButton();
    SetDropDownHold(plugin.keepDropDown, plugin.historyShown);
}

static void ToggleHold()
{
    if (clipCombo.GetCount() <= 0) return;
    ToggleHoldButton();
    SetDropDownHold(plugin.keepDropDown, plugin.historyShown);
}

static void TogglePalette(HWND dialog)
{
    plugin.paletteShown = static_cast<BYTE>(ToggleButtonCheck(plugin.toolbarWindow, ID_SHOW_PALETTE));
    if (plugin.paletteShown == 1) {
        plugin.paletteWindow = nullptr;
        plugin.paletteWindow = CreatePalette(plugin.hInstance, dialog);
        if (plugin.paletteWindow == nullptr) {
            plugin.paletteShown = static_cast<BYTE>(ToggleButtonCheck(plugin.toolbarWindow, ID_SHOW_PALETTE));
        } else {
            SubclassPalette(plugin.paletteWindow);
        }
    } else {
        DestroyWindow(plugin.paletteWindow);
        plugin.paletteWindow = nullptr;
    }
}

static void OnCommandMessage(HWND dialog, WPARAM wParam)
{
    WORD id = LOWORD(wParam);
    if (id == IDC_CLIPLIST) {
        WORD code = HIWORD(wParam);
        if (code == CBN_SETFOCUS || code == CBN_KILLFOCUS) WatchListKeys(code == CBN_SETFOCUS);
        if (OnKeyboardListNotice(code) || code != CBN_SELCHANGE) return;
        InsertFromList();
        return;
    }
    switch (id) {
    case ID_SAVE_TO_CARET: ShowStatus("", 0); CaptureToCaret(); KeepList(); break;
    case ID_SAVE_FROM_CARET: ShowStatus("", 0); CaptureFromCaret(); KeepList(); break;
    case ID_SAVE_SELECTION: ShowStatus("", 0); CaptureSelection(); KeepList(); break;
    case ID_SAVE_LINE: ShowStatus("", 0); CaptureCaretLine(); KeepList(); break;
    case ID_DELETE_CHOSEN:
        ShowStatus("", 0);
        clipCombo.SetShowMessages(1);
        clipCombo.DeleteSelected();
        clipCombo.SetShowMessages(0);
        KeepList();
        break;
    case ID_DELETE_ALL:
        ShowStatus("", 0);
        clipCombo.SetShowMessages(1);
        clipCombo.DeleteAll();
        clipCombo.SetShowMessages(0);
        KeepList();
        break;
    case ID_SHOW_HISTORY:
        ShowStatus("", 0);
        ToggleHistory();
        if (!plugin.historyShown) KeepList();
        break;
    case ID_EXIT_TOOL: ExitTool(dialog); break;
    case ID_HOLD_LIST: ShowStatus("", 0); ToggleHold(); break;
    case ID_SHOW_PALETTE: ShowStatus("", 0); TogglePalette(dialog); break;
    default: break; // 40001 and anything else
    }
}

INT_PTR CALLBACK ClipBar(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    LibraryInUse inUse;
    switch (message) {
    case WM_INITDIALOG:
        // Also for the tooltips, whose texts are our resources: they go in this dialog's
        // WM_DESTROY, if not before with their owner.
        HoldLibraryFor(dialog);
        SetWindowTextA(dialog, "文字変換");
        plugin.listSaved = false;
        // A format listener, not the viewer chain: no other program can cut it off, and it cuts
        // off no one while the editor hangs.
        if (plugin.recordHistory) StartClipboardWatch(dialog);
        return 1;
    case WM_DESTROY: OnDestroy(dialog); break;
    case WM_NCDESTROY: ReleaseLibraryFor(dialog); break;
    case WM_NOTIFY: OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam)); break;
    case WM_DPICHANGED_AFTERPARENT: RelayOutBand(); break;
    case WM_WINDOWPOSCHANGED: NoticeBandScale(dialog); break;
    case WM_TIMER:
        if (wParam == CLIPBOARD_TIMER_ID) {
            OnClipboardRetry(dialog);
        } else {
            OnHoldTimer();
        }
        break;
    case WM_COMMAND: OnCommandMessage(dialog, wParam); break;
    // A notice posted before the user turned the history off is not read either.
    case WM_CLIPBOARDUPDATE:
        if (plugin.recordHistory) OnClipboardChange(dialog);
        break;
    default:
        if (message == kBandRelayoutMessage) OnRelayoutPosted();
        if (message == kSettingsMenuMessage) ShowSettingsMenuAtList(dialog);
        if (message == kKeyboardListEnded) OnKeyboardListEnded();
        break;
    }
    return 0;
}
