#include "host/Clipboard.h"
#include <cstring>

// Another program may hold the clipboard for a moment: try a few times before giving up.
static bool OpenClipboardPatiently(HWND owner)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(10);
    }
    return false;
}

bool PutClipboardText(HWND owner, const std::string& text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block == nullptr) return false;
    char* data = static_cast<char*>(GlobalLock(block));
    memcpy(data, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!OpenClipboardPatiently(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, block) != nullptr;
    CloseClipboard();
    if (!ok) GlobalFree(block);
    return ok;
}

bool GetClipboardText(HWND owner, std::string& text)
{
    text.clear();
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboardPatiently(owner)) return false;
    bool ok = false;
    HANDLE block = GetClipboardData(CF_TEXT);
    if (block != nullptr) {
        const char* data = static_cast<const char*>(GlobalLock(block));
        if (data != nullptr) {
            // The block may be larger than the text, and a foreign one need not end in a zero.
            text.assign(data, strnlen(data, GlobalSize(block)));
            GlobalUnlock(block);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}
