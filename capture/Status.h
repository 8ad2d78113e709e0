#pragma once
// Shows text in the host's status bar ("" clears it), with MessageBeep(0) when beep is non-zero.
void ShowStatus(const char* text, int beep);
