// The clip list from the keyboard: the command, run in the bar's own frame while the user has
// chosen so, drops the list with the keyboard in it. Arrows and letters only move the highlight;
// Enter inserts the highlighted item as a click does, Esc or the command again closes the list
// without inserting, and the keyboard goes back to the view either way.
#pragma once
#include <windows.h>

// The messages the band dialog takes for the list's keys.
const UINT kSettingsMenuMessage = WM_APP + 2;   // the settings menu, asked for from the list
const UINT kKeyboardListEnded = WM_APP + 3;     // the list's notices of its closing are over

void OpenListFromKeyboard();
// A notice of the clip list (CBN_*): true when the keyboard's list took it.
bool OnKeyboardListNotice(WORD code);
void OnKeyboardListEnded();
// While the list has the keyboard, its context-menu keys open the settings menu.
void WatchListKeys(bool focused);
