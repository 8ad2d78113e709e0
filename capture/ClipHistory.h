// The clipboard history and the switch between the saved items and the history.
#pragma once
#include <windows.h>

int ClipboardTextLength();
// Copies the clipboard text, cut to capacity - 1 bytes and terminated; 1 on success.
int CopyClipboardText(char* destination, int capacity);
int ReadClipboardText(char** slot, int limit);
int BackupClipList();
int SwitchClipList(BYTE showHistory);
void OnClipboardChange(WPARAM wParam, LPARAM lParam);
void OnClipboardChainChange(WPARAM wParam, LPARAM lParam);
