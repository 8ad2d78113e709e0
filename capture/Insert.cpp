#include "capture/Insert.h"
#include "capture/Capture.h"
#include "capture/TextBuffer.h"
#include "convpalette/Palette.h"
#include "plugin/Globals.h"
#include "plugin/HostMessages.h"
#include "plugin/PluginState.h"

namespace {

// What the palette's boxes ask of an insertion.
struct Conversion {
    UINT flags = 0;     // target bits plus the width code
    UINT width = 0;
    int caseValue = CASE_NOT_SET;

    bool Valid() const { return caseValue != CASE_NOT_SET || ((flags & ~3u) != 0 && width != 0); }
};

// A later box of the same kind wins ("半角" over "全角", "小文字" over "大文字").
Conversion ReadPalette()
{
    PaletteTicks ticks = ReadPaletteTicks();
    const struct { bool ticked; UINT bit; } targets[] = {
        {ticks.katakana, CONVERT_KATAKANA}, {ticks.kanaSymbol, CONVERT_KANA_SYMBOL}, {ticks.alnum, CONVERT_ALNUM},
        {ticks.alnumSymbol, CONVERT_ALNUM_SYMBOL}, {ticks.space, CONVERT_SPACE}};
    Conversion c;
    for (const auto& t : targets) {
        if (t.ticked) c.flags |= t.bit;
    }
    if (ticks.fullWidth) c.width = CONVERT_FULL_WIDTH;
    if (ticks.halfWidth) c.width = CONVERT_HALF_WIDTH;
    if (ticks.upper) c.caseValue = CASE_UPPER;
    if (ticks.lower) c.caseValue = CASE_LOWER;
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

// One key event for SendInput, with the scan code a real key press carries.
INPUT KeyInput(WORD virtualKey, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

// The user chose with Ctrl held and may hold it still: an Enter injected now would arrive as
// Ctrl+Enter (a line feed, or whatever command the editor binds to it). The Ctrl keys that are
// down are lifted around the Enter and pressed again, in one SendInput call so that no key of
// the user's can come in between. A Ctrl that is held stays held; none is pressed that was not.
void TapPlainEnter()
{
    struct Ctrl { WORD key; DWORD flags; };
    const Ctrl ctrls[] = {{VK_LCONTROL, 0}, {VK_RCONTROL, KEYEVENTF_EXTENDEDKEY}};
    Ctrl held[2];
    UINT heldCount = 0;
    for (const Ctrl& c : ctrls) {
        if (GetAsyncKeyState(c.key) < 0) held[heldCount++] = c;
    }
    INPUT inputs[6];
    UINT count = 0;
    for (UINT i = 0; i < heldCount; ++i) inputs[count++] = KeyInput(held[i].key, held[i].flags | KEYEVENTF_KEYUP);
    inputs[count++] = KeyInput(VK_RETURN, 0);
    inputs[count++] = KeyInput(VK_RETURN, KEYEVENTF_KEYUP);
    for (UINT i = 0; i < heldCount; ++i) inputs[count++] = KeyInput(held[i].key, held[i].flags);
    SendInput(count, inputs, sizeof(INPUT));
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
    SetFocus(plugin.bandView);
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
    if (GetKeyState(VK_CONTROL) < 0) TapPlainEnter();
    FreeTextBuffer(&text);
    return 1;
}
