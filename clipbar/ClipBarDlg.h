// The band dialog procedure: every command and notification of the clip bar arrives here.
#pragma once
#include <windows.h>

INT_PTR CALLBACK ClipBar(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int SetDropDownHold(BYTE hold, BYTE historyShown);
void SetHistoryButtons(BYTE historyShown);
// Lets the band save its list when the rebar destroys the toolbar before the band dialog.
void WatchToolbar(HWND toolbar);
// The chosen item inserted as a click on it inserts it.
void InsertFromList();
// A held list let go, its button unchecked.
void EndHold();
