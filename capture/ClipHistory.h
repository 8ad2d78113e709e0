// The clipboard history and the switch between the saved items and the history.
#pragma once
#include "cliplist/DimPack.h"
#include <windows.h>

int ClipboardTextLength();
// Copies the clipboard text, cut to capacity - 1 bytes and terminated; 1 on success.
int CopyClipboardText(char* destination, int capacity);
// The clipboard's text cut to `limit` bytes (0: 260) in a new buffer in the slot; 1 or 0. *busy
// (when given) tells that another window held the clipboard, so it could not be read.
int ReadClipboardText(char** slot, int limit, bool* busy = nullptr);
// 1 when savedItems now holds the list's items; 0 when they could not be copied (no list, or
// out of memory) and savedItems was left as it was.
int BackupClipList();
// For a list about to go: BackupClipList, or when that fails, the list's items that savedItems
// lacks added to it, as many as memory allows (1 or 0 as BackupClipList).
int BackupClosingClipList();
// The clip list emptied and filled with `list`: each text on top in turn, or, for a copy of the
// list's own items, in their order at the end. The number of items, or -1.
int ReplaceClipList(const CDimPack& list, bool onTop);
// 1 on success, 0 on failure. After a failure, *refillOnFailure (when given) tells whether the
// list is to be filled again with the other view: false when the list's items could not be saved,
// so the list must stay as it is.
int SwitchClipList(BYTE showHistory, bool* refillOnFailure = nullptr);
// The band's `dialog` hears of clipboard changes from its making (where the text then on the
// clipboard is recorded) to its end.
void StartClipboardWatch(HWND dialog);
void StopClipboardWatch(HWND dialog);
// The watch started again after the user turned the history off: from the next change on.
void ResumeClipboardWatch(HWND dialog);
// A clipboard change told to the band's `dialog`; a read that another window's hold refused is
// tried again from a timer of the dialog.
void OnClipboardChange(HWND dialog);
// A tick of CLIPBOARD_TIMER_ID: the clipboard read again after another window held it.
void OnClipboardRetry(HWND dialog);
// A pending read is dropped (the history emptied, the band closing).
void CancelClipboardRetry();
