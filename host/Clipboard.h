// The system clipboard as CF_TEXT (CP932, lines joined with CR LF).
#pragma once
#include <windows.h>
#include <string>

bool PutClipboardText(HWND owner, const std::string& text);
bool GetClipboardText(HWND owner, std::string& text);
