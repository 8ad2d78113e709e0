// Capturing pieces of the document into the clip list.
#pragma once
#include "plugin/HostMessages.h"

void QueryCaretPos(EditPos* pos, int kind);
int FetchSelection(char** slot, int kind);
int FetchLine(char** slot, int line, int mode);
// `size`: what the slot was allocated for (its block holds size + 5 bytes). 0: stop; 1: the text
// holds at most 5000 bytes; -1: it was cut to 5000 bytes or fewer of whole characters (status text
// with a beep).
int ClampToStoreLimit(char** slot, int size);

void CaptureToCaret();      // 40002: line start to caret
void CaptureFromCaret();    // 40003: caret to line end
void CaptureSelection();    // 40004: the selection; Ctrl splits it into lines
void CaptureCaretLine();    // 40008: the caret's line without its break
