// The band dialog procedure: every command and notification of the clip bar arrives here.
#pragma once
#include <windows.h>

INT_PTR CALLBACK ClipBar(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int SetDropDownHold(BYTE hold, BYTE historyShown);
void SetHistoryButtons(BYTE historyShown);
// Makes the band save its items when the clip list goes, even when the host takes it away first.
void WatchClipList(HWND combo);
