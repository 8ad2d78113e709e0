// Capturing pieces of the document into the clip list.
#pragma once
#include "plugin/HostMessages.h"

void QueryCaretPos(EditPos* pos, int kind);
int FetchSelection(char** slot, int kind);
int FetchLine(char** slot, int line, int mode);
// 0: stop; 1: unchanged; -1: cut to 5000 bytes (status text with a beep).
int ClampToStoreLimit(char** slot, int size);

void CaptureToCaret();      // 40002: line start to caret
void CaptureFromCaret();    // 40003: caret to line end
void CaptureSelection();    // 40004: the selection; Ctrl splits it into lines
void CaptureCaretLine();    // 40008: the caret's line without its break
