// The bar's settings menu: a right click on the toolbar, or Shift+F10 or the context-menu key
// while the list has the keyboard. Each item is a choice kept in the settings file.
#pragma once
#include <windows.h>

// Shows the menu at `at` (screen), applies and keeps what the user chose.
void ShowSettingsMenu(HWND dialog, POINT at);
// The same under the clip list, for the keys (posted by the list, taken by the dialog).
void ShowSettingsMenuAtList(HWND dialog);
