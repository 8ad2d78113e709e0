#include "clipbar/ListKeys.h"
#include "clipbar/ClipBarDlg.h"
#include "plugin/LibraryHold.h"
#include "plugin/PluginState.h"
#include <commctrl.h>

// Set as the list reports its closing: every notice of that closing, in whatever order the
// list sends them (a click reports its choice and then the change of highlight), is the
// keyboard list's, until the posted end.
static bool ending = false;

void OpenListFromKeyboard()
{
    HWND combo = plugin.comboWindow;
    if (combo == nullptr || !IsWindow(combo)) return;
    if (plugin.listFromKeyboard) {
        // The command again: closed as Esc closes it.
        if (!ending) SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        return;
    }
    if (plugin.keepDropDown) EndHold();
    plugin.listFromKeyboard = true;
    ending = false;
    plugin.keyboardChoice = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    SetFocus(combo);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
}

static void EndKeyboardList(bool insert)
{
    ending = true;
    PostMessageA(plugin.bandDialog, kKeyboardListEnded, 0, 0);
    if (insert) {
        InsertFromList();
        return;
    }
    HWND combo = plugin.comboWindow;
    if (SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(plugin.keyboardChoice), 0);
}

bool OnKeyboardListNotice(WORD code)
{
    if (!plugin.listFromKeyboard) return false;
    if (ending) return true;
    switch (code) {
    case CBN_SELENDOK: EndKeyboardList(true); break;
    case CBN_SELENDCANCEL:
    case CBN_CLOSEUP:
        EndKeyboardList(false);
        SetFocus(plugin.bandView);
        break;
    // The user went elsewhere: the list closes, and the keyboard stays where the user put it.
    case CBN_KILLFOCUS: EndKeyboardList(false); break;
    default: break; // a new highlight only
    }
    return true;
}

void OnKeyboardListEnded()
{
    ending = false;
    plugin.listFromKeyboard = false;
}

// The highlight moved by a key of the keyboard's list, or false for a key that is not one of
// them. The list's own handling of these keys is not used: Wine's list closes with a choice on a
// letter (and on some other keys), where Windows' only moves its highlight, and a choice inserts.
static bool MoveHighlight(HWND combo, UINT message, WPARAM key)
{
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    LRESULT at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    LRESULT to = at;
    if (message == WM_CHAR) {
        // The list's first-letter search: the next item after the highlight that starts with it.
        if (key < 0x20 || key > 0x7E) return false;
        char start[2] = {static_cast<char>(key), '\0'};
        to = SendMessageA(combo, CB_FINDSTRING, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(start));
        if (to == CB_ERR) to = at;
    } else {
        RECT list = {0, 0, 0, 0};
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(combo, &info)) GetClientRect(info.hwndList, &list);
        LRESULT row = SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0);
        LRESULT page = row > 0 && list.bottom / row > 1 ? list.bottom / row - 1 : 1;
        switch (key) {
        case VK_UP: to = at - 1; break;
        case VK_DOWN: to = at + 1; break;
        case VK_PRIOR: to = at - page; break;
        case VK_NEXT: to = at + page; break;
        case VK_HOME: to = 0; break;
        case VK_END: to = count - 1; break;
        default: return false;
        }
    }
    if (to >= count) to = count - 1;
    if (to < 0) to = count > 0 ? 0 : -1;
    if (to != at) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(to), 0);
    return true;
}

static LRESULT CALLBACK ListKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    LibraryInUse inUse;
    if ((message == WM_KEYDOWN || message == WM_CHAR) && plugin.listFromKeyboard && !ending &&
        SendMessageA(window, CB_GETDROPPEDSTATE, 0, 0) && MoveHighlight(window, message, wParam))
        return 0;
    bool menuKey = (message == WM_SYSKEYDOWN && wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) ||
                   (message == WM_KEYDOWN && wParam == VK_APPS) || message == WM_CONTEXTMENU;
    if (menuKey) {
        // Posted: the list is in the middle of its own key handling.
        PostMessageA(plugin.bandDialog, kSettingsMenuMessage, 0, 0);
        return 0;
    }
    // The context-menu key's release would ask the editor for its own menu.
    if (message == WM_KEYUP && wParam == VK_APPS) return 0;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, ListKeys, 0);
    return DefSubclassProc(window, message, wParam, lParam);
}

void WatchListKeys(bool focused)
{
    // Only while the list has the keyboard: under Wine a subclass costs a round trip to the
    // server on every message, and the list takes thousands as it is filled.
    HWND combo = plugin.comboWindow;
    if (combo == nullptr) return;
    if (focused) {
        SetWindowSubclass(combo, ListKeys, 0, 0);
    } else {
        RemoveWindowSubclass(combo, ListKeys, 0);
    }
}
