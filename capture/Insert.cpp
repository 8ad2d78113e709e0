#include "capture/Insert.h"
#include "capture/Capture.h"
#include "capture/TextBuffer.h"
#include "plugin/Globals.h"
#include "plugin/HostMessages.h"
#include "plugin/PluginState.h"
#include "res/resource.h"

namespace {

// What the palette's boxes ask of an insertion.
struct Conversion {
    UINT flags = 0;     // target bits plus the width code
    UINT width = 0;
    int caseValue = CASE_NOT_SET;

    bool Valid() const { return caseValue != CASE_NOT_SET || ((flags & ~3u) != 0 && width != 0); }
};

bool Ticked(int id)
{
    return SendMessageA(GetDlgItem(plugin.paletteWindow, id), BM_GETCHECK, 0, 0) != 0;
}

// Reads the boxes in a fixed order: a later box of the same kind wins ("半角" over "全角",
// "小文字" over "大文字").
Conversion ReadPalette()
{
    static const struct { int id; UINT bit; } targets[] = {
        {IDC_KATAKANA, CONVERT_KATAKANA}, {IDC_KANA_SYMBOL, CONVERT_KANA_SYMBOL}, {IDC_ALNUM, CONVERT_ALNUM},
        {IDC_ALNUM_SYMBOL, CONVERT_ALNUM_SYMBOL}, {IDC_SPACE, CONVERT_SPACE}};
    Conversion c;
    for (const auto& t : targets) {
        if (Ticked(t.id)) c.flags |= t.bit;
    }
    if (Ticked(IDC_FULL_WIDTH)) c.width = CONVERT_FULL_WIDTH;
    if (Ticked(IDC_HALF_WIDTH)) c.width = CONVERT_HALF_WIDTH;
    if (Ticked(IDC_UPPER)) c.caseValue = CASE_UPPER;
    if (Ticked(IDC_LOWER)) c.caseValue = CASE_LOWER;
    c.flags |= c.width;
    return c;
}

void PointAtPalette()
{
    RECT rect;
    if (!GetWindowRect(plugin.paletteWindow, &rect)) return;
    SetCursorPos(rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2);
}

void InsertConverted(const char* text, const Conversion& c)
{
    EditPos before = {0, 0};
    EditPos after = {0, 0};
    QueryCaretPos(&before, 0);
    SendToHost(HOSTMSG_EDIT_BRACKET, 0, 0);
    SendToHost(HOSTMSG_INSERT_TEXT, 0, reinterpret_cast<LPARAM>(text));
    QueryCaretPos(&after, 0);
    SendToHost(HOSTMSG_SET_SELECTION, reinterpret_cast<WPARAM>(&after), reinterpret_cast<LPARAM>(&before));
    SendToHost(HOSTMSG_CONVERT_SELECTION, c.flags, 0);
    if (c.caseValue != CASE_NOT_SET) SendToHost(HOSTMSG_CONVERT_SELECTION, static_cast<WPARAM>(c.caseValue), 0);
    SendToHost(HOSTMSG_EXEC_COMMAND, HOSTCMD_CANCEL_SELECTION, 0);
    SendToHost(HOSTMSG_EDIT_BRACKET, 1, 0);
}

} // namespace

void TapKey(BYTE virtualKey)
{
    keybd_event(virtualKey, 0, 0, 0);
    keybd_event(virtualKey, 0, KEYEVENTF_KEYUP, 0);
}

int InsertChosenItem()
{
    char* text = nullptr;
    clipCombo.GetSelectedText(&text);
    if (text == nullptr) {
        messenger.ShowMessage("選択項目の取得に失敗しました！！", "", "x", "o");
        return 0;
    }
    SetFocus(plugin.viewWindow);
    if (plugin.paletteWindow == nullptr) {
        SendToHost(HOSTMSG_INSERT_TEXT, 0, reinterpret_cast<LPARAM>(text));
    } else {
        Conversion c = ReadPalette();
        if (!c.Valid()) {
            messenger.ShowMessage("文字変換ダイアログのオプションが指定されていません！！", "", "!!", "o");
            FreeTextBuffer(&text);
            PointAtPalette();
            return 0;
        }
        InsertConverted(text, c);
    }
    if (GetKeyState(VK_CONTROL) < 0) TapKey(VK_RETURN);
    FreeTextBuffer(&text);
    return 1;
}
