// Owner window and caption of a family of message boxes, chosen by short text codes.
#pragma once
#include <windows.h>

class CAppVal {
public:
    CAppVal();
    void SetOwner(HWND window);
    // Copies at most 259 bytes, cut on a character boundary.
    void SetCaption(const char* text);
    // iconCode: "" or "!" information, "x" error, "?" question, "!!" exclamation, else none.
    // buttonCode: "", "o" OK, "oc", "yn", "ync", "sri", "rc"; else OK.
    // Returns 0 for an empty text (nothing shown), else MessageBoxA's answer.
    int ShowMessage(const char* text, const char* caption, const char* iconCode, const char* buttonCode);

    HWND GetOwner() const { return owner; }
    const char* GetCaption() const { return caption; }

protected:
    HWND owner;
    char caption[260];
};

// Copies text into a buffer of size bytes, cutting on a character boundary; always terminated.
void CopyTextCut(char* buffer, size_t size, const char* text);
