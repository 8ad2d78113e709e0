#include "common/AppVal.h"
#include "common/Sjis.h"
#include <cstring>

void CopyTextCut(char* buffer, size_t size, const char* text)
{
    if (size == 0) return;
    size_t n = SjisCutLength(text, strlen(text), size - 1);
    memcpy(buffer, text, n);
    buffer[n] = '\0';
}

CAppVal::CAppVal() : owner(nullptr)
{
    caption[0] = '\0';
}

void CAppVal::SetOwner(HWND window)
{
    owner = window;
}

void CAppVal::SetCaption(const char* text)
{
    CopyTextCut(caption, sizeof caption, text);
}

static UINT IconFlag(const char* code)
{
    if (strcmp(code, "") == 0 || strcmp(code, "!") == 0) return MB_ICONINFORMATION;
    if (strcmp(code, "x") == 0) return MB_ICONHAND;
    if (strcmp(code, "?") == 0) return MB_ICONQUESTION;
    if (strcmp(code, "!!") == 0) return MB_ICONEXCLAMATION;
    return 0;
}

static UINT ButtonFlag(const char* code)
{
    if (strcmp(code, "oc") == 0) return MB_OKCANCEL;
    if (strcmp(code, "yn") == 0) return MB_YESNO;
    if (strcmp(code, "ync") == 0) return MB_YESNOCANCEL;
    if (strcmp(code, "sri") == 0) return MB_ABORTRETRYIGNORE;
    if (strcmp(code, "rc") == 0) return MB_RETRYCANCEL;
    return MB_OK;
}

int CAppVal::ShowMessage(const char* text, const char* captionText, const char* iconCode, const char* buttonCode)
{
    if (text[0] == '\0') return 0;
    UINT style = ButtonFlag(buttonCode) | IconFlag(iconCode);
    char title[260];
    CopyTextCut(title, sizeof title, captionText);
    if (title[0] == '\0') CopyTextCut(title, sizeof title, caption[0] != '\0' ? caption : "メッセージ");
    return MessageBoxA(owner, text, title, style);
}
