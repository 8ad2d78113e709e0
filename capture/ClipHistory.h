// The clipboard history and the switch between the saved items and the history.
#pragma once
#include <windows.h>

int ClipboardTextLength();
// Copies the clipboard text, cut to capacity - 1 bytes and terminated; 1 on success.
int CopyClipboardText(char* destination, int capacity);
int ReadClipboardText(char** slot, int limit);
// 1 when savedItems now holds the list's items; 0 when they could not be copied (no list, or
// out of memory) and savedItems was left as it was.
int BackupClipList();
// For a list about to go: BackupClipList, or when that fails, the list's items that savedItems
// lacks added to it, as many as memory allows (1 or 0 as BackupClipList).
int BackupClosingClipList();
// 1 on success, 0 on failure. *listChanged (when given) tells whether the list was touched: a
// switch that failed before it emptied the list leaves the list as it was.
int SwitchClipList(BYTE showHistory, bool* listChanged = nullptr);
void OnClipboardChange(WPARAM wParam, LPARAM lParam);
void OnClipboardChainChange(WPARAM wParam, LPARAM lParam);
