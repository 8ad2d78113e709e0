#include "demo/TourClipBar.h"
#include "common/Dpi.h"
#include "demo/Screenshot.h"
#include "demo/TourCheck.h"
#include "demo/TourInput.h"
#include "demo/TourPicture.h"
#include "host/Clipboard.h"
#include "host/HostRebar.h"
#include "support/ComboItems.h"
#include <commctrl.h>
#include <algorithm>
#include <vector>

namespace {

// The plug-in's band and command ids, as its user sees them: the buttons of the clip bar.
const UINT kBandId = 1000;
const int kClipList = 1001;
enum Button {
    ToCaret = 40002, FromCaret = 40003, Selection = 40004, DeleteOne = 40005, DeleteAll = 40006,
    History = 40007, WholeLine = 40008, Exit = 40009, Hold = 40010, Palette = 40011
};
struct Named {
    int id;
    const char* name;
};
// The buttons by the names the user guide gives them, left to right.
const Named kButtons[] = {
    {ToCaret, "行頭から保存"}, {FromCaret, "行末まで保存"}, {Selection, "選択範囲を保存"}, {WholeLine, "1行保存"},
    {History, "履歴"}, {Hold, "リスト保持"}, {Palette, "文字変換"}, {DeleteOne, "選択項目を削除"},
    {DeleteAll, "全項目を削除"}, {Exit, "終了"},
};
// The palette's check boxes, in the order the settings file keeps them.
const Named kBoxes[] = {
    {1003, "ｶﾀｶﾅ"}, {1004, "ｶﾅ記号"}, {1005, "英数字"}, {1006, "英数記号"}, {1007, "空白"},
    {1012, "全角"}, {1008, "半角"}, {1011, "大文字"}, {1010, "小文字"},
};
const int kAlnum = 1005, kUpper = 1011, kFullWidth = 1012;
using Texts = std::vector<std::string>;

// Line 8 of the sample document, where the tour captures: its two halves either side of the
// caret, and a time in it with half-width digits (the full-width conversion shows on it).
const int kNoticeLine = 7;
const char kNoticeHead[] = "会議のお知らせ：";
const char kNoticeRest[] = "明日は9時30分から、資料はpdfで配ります。";
const char kTime[] = "9時30分";
// A line with 0x5C as the second byte of some characters, saved whole.
const int kKanjiLine = 16;

// What the tour knows and expects as it goes.
struct Tour {
    HostApp& host;
    const TourOutput& output;
    HWND toolbar;
    HWND combo;
    Texts lines;  // the document as it should be
    Texts saved;  // the saved items as they should be, top first
};

HWND ClipBarToolbar(HostApp& host) { return RebarBandChild(host.Rebar(), kBandId); }

void ClickButton(HWND toolbar, int id, std::initializer_list<WORD> modifiers = {})
{
    RECT r;
    int index = static_cast<int>(SendMessageA(toolbar, TB_COMMANDTOINDEX, id, 0));
    if (SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)))
        ClickAt(CentreOf(toolbar, r), modifiers);
}

// The buttons shown pressed (`message` TB_ISBUTTONCHECKED) or greyed (TB_ISBUTTONENABLED).
Texts Buttons(HWND toolbar, UINT message)
{
    Texts names;
    for (const Named& button : kButtons) {
        bool on = SendMessageA(toolbar, message, button.id, 0) != 0;
        if (on == (message == TB_ISBUTTONCHECKED)) names.push_back(button.name);
    }
    return names;
}

void CheckButtons(Tour& t, const Texts& pressed, const Texts& greyed)
{
    CheckEqual("pressed buttons", Buttons(t.toolbar, TB_ISBUTTONCHECKED), pressed);
    CheckEqual("greyed buttons", Buttons(t.toolbar, TB_ISBUTTONENABLED), greyed);
}

Texts Items(HWND combo) { return ComboItems(combo); }

std::string ChosenItem(HWND combo)
{
    int chosen = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    Texts items = Items(combo);
    return chosen >= 0 && chosen < static_cast<int>(items.size()) ? items[chosen] : "(none)";
}

// The list shows `expected`, with `chosen` as the item in view.
void CheckList(Tour& t, const std::string& what, const Texts& expected, const std::string& chosen)
{
    Texts items = Items(t.combo);
    Say(what + ": " + std::to_string(items.size()) + " items");
    for (size_t i = 0; i < items.size() && i < 8; ++i) Say("    [" + std::to_string(i) + "] \"" + items[i] + "\"");
    if (items.size() > 8) Say("    ...");
    CheckEqual(what, items, expected);
    CheckEqual("the item in view", ChosenItem(t.combo), chosen);
}

// A capture puts its texts on top of the saved items, the first on top, and an earlier copy of a
// text goes. (The tour saves no two texts that differ in letter case only.)
void Saved(Tour& t, const Texts& texts)
{
    for (auto text = texts.rbegin(); text != texts.rend(); ++text) {
        t.saved.erase(std::remove(t.saved.begin(), t.saved.end(), *text), t.saved.end());
        t.saved.insert(t.saved.begin(), *text);
    }
}

int IndexOf(HWND combo, const std::string& text)
{
    Texts items = Items(combo);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == text) return static_cast<int>(i);
    return -1;
}

// Drops the list down with a click and clicks the item, as the user chooses it. With `picture`,
// the mouse rests on the item first and the editor's top with the dropped list is taken.
void ChooseItem(Tour& t, const std::string& text, std::initializer_list<WORD> modifiers = {},
                const char* picture = nullptr)
{
    HWND combo = t.combo;
    int index = IndexOf(combo, text);
    if (!Check(index >= 0, "\"" + text + "\" is in the list")) return;
    ClickAt(CentreOf(combo));
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    RECT item;
    if (Check(GetComboBoxInfo(combo, &info) && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), "the list drops down") &&
        SendMessageA(info.hwndList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
        if (picture != nullptr) {
            HoverAt(CentreOf(info.hwndList, item));
            Pump(300);
            Picture(t.output.pictures, picture, EditorDownTo(t.host, ScreenRect(info.hwndList).bottom));
        }
        ClickAt(CentreOf(info.hwndList, item), modifiers);
    }
}

Texts DocumentLines(HostApp& host)
{
    const Document& doc = host.Edit().Doc();
    Texts lines;
    for (int i = 0; i < doc.LineCount(); ++i) lines.push_back(doc.Line(i));
    return lines;
}

HWND DroppedList(HWND combo)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo, &info) ? info.hwndList : nullptr;
}

bool ListShown(HWND combo)
{
    HWND list = DroppedList(combo);
    return list != nullptr && IsWindowVisible(list);
}

// Drops the list down for a picture, then closes it with Esc: nothing is chosen.
void PictureOfList(Tour& t, const char* name, LONG bottom = 0)
{
    Texts before = Items(t.combo);
    std::string inView = ChosenItem(t.combo);
    ClickAt(CentreOf(t.combo));
    HWND list = DroppedList(t.combo);
    if (Check(ListShown(t.combo), "the list drops down")) {
        RECT shown = ScreenRect(list);
        Picture(t.output.pictures, name, EditorDownTo(t.host, shown.bottom > bottom ? shown.bottom : bottom));
    }
    Press({}, VK_ESCAPE);
    Check(!ListShown(t.combo), "Esc closes the list");
    CheckEqual("the list after Esc", Items(t.combo), before);
    CheckEqual("the item in view after Esc", ChosenItem(t.combo), inView);
    Check(DocumentLines(t.host) == t.lines, "nothing is inserted");
    SetFocus(t.host.View());
}

// The key presses from byte `from` to byte `to` of a CP932 line: one per character, and a
// double-byte character is two bytes. False when either end falls inside a character.
bool CharsBetween(const std::string& line, int from, int to, int& presses)
{
    presses = 0;
    int at = 0;
    for (; at < from; ++at)
        if (IsDBCSLeadByteEx(932, static_cast<BYTE>(line[at]))) ++at;
    if (at != from) return false;
    for (; at < to; ++at, ++presses)
        if (IsDBCSLeadByteEx(932, static_cast<BYTE>(line[at]))) ++at;
    return at == to;
}

// The caret to byte `column` of `line` with the arrow keys, then `selectBytes` bytes of that line
// or `selectLines` lines down selected with Shift.
void GoTo(Tour& t, int line, int column, int selectBytes = 0, int selectLines = 0)
{
    int right = 0, select = 0;
    const std::string& text = t.lines.at(line);
    if (!Check(column + selectBytes <= static_cast<int>(text.size()) && CharsBetween(text, 0, column, right) &&
                   CharsBetween(text, column, column + selectBytes, select),
               "line " + std::to_string(line + 1) + ", bytes " + std::to_string(column) + " to " +
                   std::to_string(column + selectBytes) + ", starts and ends on whole characters"))
        return;
    std::vector<INPUT> keys;
    AddPress(keys, {VK_CONTROL}, VK_HOME);
    for (int i = 0; i < line; ++i) AddPress(keys, {}, VK_DOWN);
    for (int i = 0; i < right; ++i) AddPress(keys, {}, VK_RIGHT);
    for (int i = 0; i < select; ++i) AddPress(keys, {VK_SHIFT}, VK_RIGHT);
    for (int i = 0; i < selectLines; ++i) AddPress(keys, {VK_SHIFT}, VK_DOWN);
    Press(keys);
}

// Where `text` starts in `line`, on a character boundary (a byte search alone could match the
// second byte of a double-byte character); -1 when it is not there.
int ColumnOf(Tour& t, int line, const std::string& text)
{
    const std::string& in = t.lines.at(line);
    int presses = 0;
    for (size_t at = in.find(text); at != std::string::npos; at = in.find(text, at + 1))
        if (CharsBetween(in, static_cast<int>(at), static_cast<int>(at), presses)) return static_cast<int>(at);
    Check(false, "\"" + text + "\" is in line " + std::to_string(line + 1));
    return -1;
}

Texts LastLines(const Texts& lines, size_t count)
{
    return Texts(lines.end() - (lines.size() > count ? count : lines.size()), lines.end());
}

// The document is what the tour expects, with the caret at the end of it.
void CheckDocument(Tour& t, const std::string& title)
{
    Texts lines = DocumentLines(t.host);
    Say(title);
    for (size_t i = lines.size() > 3 ? lines.size() - 3 : 0; i < lines.size(); ++i)
        Say("    " + std::to_string(i + 1) + ": " + lines[i]);
    CheckEqual("the document's end", LastLines(lines, 3), LastLines(t.lines, 3));
    Check(lines == t.lines, "the rest of the document is as it was");
    TextPos caret = t.host.Edit().Caret();
    TextPos end = t.host.Edit().Doc().End();
    Check(caret.line == end.line && caret.column == end.column, "the caret is at the document's end");
}

void CopyWithKeys(Tour& t, int line, const std::string& text)
{
    GoTo(t, line, ColumnOf(t, line, text), static_cast<int>(text.size()));
    Press({VK_CONTROL}, 'C');
    std::string copied;
    GetClipboardText(t.host.Frame(), copied);
    CheckEqual("the clipboard", copied, text);
}

HWND FindPalette() { return FindWindowA("#32770", "文字変換"); }

Texts Ticked(HWND palette)
{
    Texts names;
    for (const Named& box : kBoxes)
        if (IsDlgButtonChecked(palette, box.id)) names.push_back(box.name);
    return names;
}

void ClickBox(HWND palette, int id)
{
    ClickAt(CentreOf(GetDlgItem(palette, id)));
}

// A point where the user sees the palette itself, not one of its controls: a press there drags it.
// The editor may cover part of it.
POINT PaletteSurface(HWND palette)
{
    RECT box;
    GetWindowRect(palette, &box);
    for (int y = box.top + 4; y < box.bottom; y += 3) {
        for (int x = box.left + 4; x < box.right; x += 3) {
            POINT p = {x, y};
            if (WindowFromPoint(p) == palette) return p;
        }
    }
    return CentreOf(palette);
}

const int kPaletteMargin = 8;

// The editor made just tall enough for the palette beside the document's last lines (and never
// shorter than the five the conversions end with), so that a picture of the whole window shows
// the insertions with the editor around them. Returns the frame's old place.
RECT ShortEditor(Tour& t, HWND palette)
{
    RECT frame = ScreenRect(t.host.Frame()), view = {}, box = ScreenRect(palette);
    GetClientRect(t.host.View(), &view);
    int lineHeight = t.host.ViewControl().LineHeight();
    int lines = std::max(5, static_cast<int>(box.bottom - box.top + 2 * kPaletteMargin + lineHeight - 1) / lineHeight);
    SetWindowPos(t.host.Frame(), nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top - (view.bottom - lines * lineHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(200);
    GetClientRect(t.host.View(), &view);
    CheckEqual("document lines in view", std::to_string(view.bottom / lineHeight), std::to_string(lines));
    return frame;
}

// Where the palette goes: right of the longest line the conversions end with (`line`, as wide as
// its converted form), in the middle of the document area's height.
POINT BesideLine(Tour& t, HWND palette, int line)
{
    RECT box = ScreenRect(palette), view = {};
    GetClientRect(t.host.View(), &view);
    POINT end = t.host.ViewControl().PointFromPos({line, static_cast<int>(t.lines.at(line).size())});
    POINT at = {end.x + 2 * kPaletteMargin, (view.bottom - (box.bottom - box.top)) / 2};
    ClientToScreen(t.host.View(), &at);
    return at;
}

// Windows keeps an owned window above its owner, but under Wine a click into the editor can stack
// the frame over the palette it owns; put back, the palette is where the user sees it for the
// clicks and pictures that follow.
void PaletteOnTop(HWND palette)
{
    SetWindowPos(palette, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Pump(100);
}

int SettingsValue(Tour& t, const char* key)
{
    std::string ini = t.host.Plugins()[0].path;
    ini = ini.substr(0, ini.find_last_of('.')) + ".ini";
    return static_cast<int>(GetPrivateProfileIntA("AppSetting", key, -1, ini.c_str()));
}

void Captures(Tour& t)
{
    Say("capturing: caret after \"" + std::string(kNoticeHead) + "\" on line 8, then the buttons from line start and to line end");
    GoTo(t, kNoticeLine, ColumnOf(t, kNoticeLine, kNoticeRest));
    ClickButton(t.toolbar, ToCaret);
    Saved(t, {kNoticeHead});
    CheckEqual("the selection after a capture", t.host.Edit().SelectedText(), kNoticeHead);
    ClickButton(t.toolbar, FromCaret);
    Saved(t, {kNoticeRest});
    CheckList(t, "the clip list", t.saved, t.saved[0]);

    Say("selecting \"" + std::string(kTime) + "\" and saving the selection");
    GoTo(t, kNoticeLine, ColumnOf(t, kNoticeLine, kTime), static_cast<int>(sizeof kTime - 1));
    ClickButton(t.toolbar, Selection);
    Saved(t, {kTime});
    // Off the button, so neither its highlight nor its tooltip is in the picture.
    RECT frame = ScreenRect(t.host.Frame());
    HoverAt({(frame.left + frame.right) / 2, frame.top + 8});
    Pump(300);
    Picture(t.output.pictures, "save.png", EditorDownTo(t.host, LineRect(t.host, kNoticeLine).top));
    Say("saving the whole of line 17");
    GoTo(t, kKanjiLine, ColumnOf(t, kKanjiLine, "今日"));
    ClickButton(t.toolbar, WholeLine);
    Saved(t, {t.lines[kKanjiLine]});
    CheckList(t, "the clip list", t.saved, t.saved[0]);

    Say("selecting lines 4 to 6 and saving them with Ctrl: one item per line");
    GoTo(t, 3, 0, 0, 3);
    ClickButton(t.toolbar, Selection, {VK_CONTROL});
    Saved(t, {t.lines[3], t.lines[4], t.lines[5]});
    CheckList(t, "the clip list", t.saved, t.saved[0]);
    Check(t.lines == DocumentLines(t.host), "captures leave the document as it was");
    Say("dropping the list down to see it, closing it with Esc");
    PictureOfList(t, "ctrl-split.png", LineRect(t.host, 5).bottom);
}

void Insertions(Tour& t)
{
    Say("a new line at the end; choosing the rest of line 8 from the list, Enter, then the time with Ctrl (Enter follows)");
    Press({VK_CONTROL}, VK_END);
    Press({}, VK_RETURN);
    ChooseItem(t, kNoticeRest, {}, "insert.png");
    t.lines.push_back(kNoticeRest);
    CheckDocument(t, "the document's end after a plain insertion");
    Press({}, VK_RETURN);
    ChooseItem(t, kTime, {VK_CONTROL});
    t.lines.push_back(kTime);
    t.lines.push_back("");
    CheckDocument(t, "the document's end after inserting");
    CheckList(t, "the clip list, unchanged by insertions", t.saved, kTime);
}

HWND ShownToolTip()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) CALLBACK -> BOOL {
            char cls[32] = "";
            GetClassNameA(window, cls, sizeof cls);
            if (lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0 || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void ToolTip(Tour& t)
{
    Say("back to the top of the document; resting the mouse on the button that saves the selection: its tooltip shows");
    // The picture shows the document from its title, as it opens.
    Press({VK_CONTROL}, VK_HOME);
    RECT r;
    int index = static_cast<int>(SendMessageA(t.toolbar, TB_COMMANDTOINDEX, Selection, 0));
    SendMessageA(t.toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    HoverAt(CentreOf(t.toolbar, r));
    DWORD start = GetTickCount();
    while (ShownToolTip() == nullptr && GetTickCount() - start < 4000) Pump(50);
    HWND tip = ShownToolTip();
    if (Check(tip != nullptr, "a tooltip shows")) {
        Pump(300);
        char text[256] = "";
        GetWindowTextA(tip, text, sizeof text);
        CheckEqual("the tooltip", std::string(text).substr(0, 30), "選択範囲の文字列を保存します。");
        Picture(t.output.pictures, "clipbar.png", EditorDownTo(t.host, ScreenRect(tip).bottom));
    }
    HoverAt(CentreOf(t.host.View()));
    Pump(300);
    Check(ShownToolTip() == nullptr, "the tooltip goes when the mouse leaves");
}

void ClipboardHistory(Tour& t, const std::string& typed)
{
    Say("copying \"会議\" and then \"資料\" with Ctrl+C in the editor, and showing the clipboard history");
    CopyWithKeys(t, kNoticeLine, "会議");
    CopyWithKeys(t, kNoticeLine, "資料");
    ClickButton(t.toolbar, History);
    CheckList(t, "the clipboard history", {"資料", "会議", typed}, "資料");
    CheckButtons(t, {"履歴"}, {"行頭から保存", "行末まで保存", "選択範囲を保存", "1行保存", "選択項目を削除", "全項目を削除", "終了"});
    PictureOfList(t, "history.png");
    Say("back to the saved items");
    ClickButton(t.toolbar, History);
    // Refilled, the list has its last item in view.
    CheckList(t, "the saved items", t.saved, t.saved.back());
    CheckButtons(t, {}, {});
}

void HeldList(Tour& t)
{
    Say("holding the list open for 1.5 s");
    ClickButton(t.toolbar, Hold);
    // Off the button, so its tooltip does not come up over the list.
    RECT frame = ScreenRect(t.host.Frame());
    HoverAt({(frame.left + frame.right) / 2, frame.top + 8});
    Pump(1500);
    Check(ListShown(t.combo), "the list is still dropped down");
    Picture(t.output.pictures, "hold.png", EditorDownTo(t.host, ScreenRect(DroppedList(t.combo)).bottom));
    CheckButtons(t, {"リスト保持"}, {"行頭から保存", "行末まで保存", "選択範囲を保存", "1行保存", "履歴", "選択項目を削除",
                                     "全項目を削除", "終了"});
    Say("clicking into line 4 and pressing Down: the caret moves, the list stays");
    ClickAt({LineRect(t.host, 3).left + 8, (LineRect(t.host, 3).top + LineRect(t.host, 3).bottom) / 2});
    Press({}, VK_DOWN);
    Pump(500);
    Check(ListShown(t.combo), "the list is still dropped down");
    CheckEqual("the caret line", std::to_string(t.host.Edit().Caret().line + 1), "5");
    Check(DocumentLines(t.host) == t.lines, "nothing is inserted");
    Say("pressing the button again ends the hold");
    ClickButton(t.toolbar, Hold);
    Pump(300);
    Check(!ListShown(t.combo), "the list is closed");
    CheckButtons(t, {}, {});
}

// A point of the toolbar with no button: its first separator.
POINT ToolbarGap(HWND toolbar)
{
    int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        RECT r;
        if (SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) && (button.fsStyle & BTNS_SEP) &&
            SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)))
            return CentreOf(toolbar, r);
    }
    return CentreOf(toolbar);
}

void SettingsMenu(Tour& t)
{
    Say("right-clicking the toolbar between two buttons: the bar's settings menu; Esc closes it");
    POINT gap = ToolbarGap(t.toolbar);
    SetCursorPos(gap.x, gap.y);
    Pump(100);
    std::vector<INPUT> click = {MouseInput(MOUSEEVENTF_RIGHTDOWN), MouseInput(MOUSEEVENTF_RIGHTUP)};
    std::vector<INPUT> escape = {KeyInput(VK_ESCAPE, false), KeyInput(VK_ESCAPE, true)};
    MenuShot shot = ShotOfMenu(click, ScreenRect(t.host.Frame()), escape);
    if (Check(shot.shown, "the settings menu shows")) {
        CheckEqual("its items", shot.items,
                   {"コマンドでクリップリストを開く(&K)", "[x] クリップボードの履歴を記録する(&H)", "クリップリストの項目を次回も使う(&S)"});
        RECT box = EditorDownTo(t.host, shot.menu.bottom);
        UnionRect(&box, &box, &shot.menu);
        PictureOfShot(t.output.pictures, "settings-menu.png", shot, box);
    }
    Check(SettingsValue(t, "ClipList_KeyAccess") == -1 && SettingsValue(t, "ClipHistory_Record") == -1 &&
              SettingsValue(t, "ClipList_Keep") == -1,
          "closed with Esc, the menu wrote no choice");
    Check(!ListShown(t.combo) && DocumentLines(t.host) == t.lines, "nothing else happened");
    SetFocus(t.host.View());
}

void ConversionPalette(Tour& t)
{
    Say("opening the conversion palette: first time, so at the top left, nothing ticked");
    ClickButton(t.toolbar, Palette);
    HWND palette = FindPalette();
    if (!Check(palette != nullptr, "the palette is open")) return;
    CheckAt("the palette", palette, {0, 0});
    CheckEqual("ticked", Ticked(palette), {});
    CheckButtons(t, {"文字変換"}, {});

    Say("making the editor short, clicking into the document, then dragging the palette by its surface beside the last lines");
    RECT tall = ShortEditor(t, palette);
    POINT to = BesideLine(t, palette, static_cast<int>(t.lines.size()) - 3);
    ClickAt(CentreOf(t.host.View()));
    POINT from = PaletteSurface(palette);
    RECT box;
    GetWindowRect(palette, &box);
    DragOnScreen(from, {from.x + to.x - box.left, from.y + to.y - box.top});
    CheckAt("the palette", palette, to);

    Say("ticking 大文字 and choosing the rest of line 8 with Ctrl");
    Press({VK_CONTROL}, VK_END);
    ClickBox(palette, kUpper);
    CheckEqual("ticked", Ticked(palette), {"大文字"});
    ChooseItem(t, kNoticeRest, {VK_CONTROL});
    PaletteOnTop(palette);
    t.lines.back() = "明日は9時30分から、資料はPDFで配ります。";
    t.lines.push_back("");
    Say("unticking 大文字, ticking 英数字 and 全角, choosing the time");
    ClickBox(palette, kUpper);
    ClickBox(palette, kAlnum);
    ClickBox(palette, kFullWidth);
    CheckEqual("ticked", Ticked(palette), {"英数字", "全角"});
    ChooseItem(t, kTime);
    PaletteOnTop(palette);
    t.lines.back() = "９時３０分";
    CheckDocument(t, "the document's end after two converted insertions");
    // The palette alone; then the editor with the inserted lines, plain above and converted below,
    // and the palette beside them.
    RECT shown = ScreenRect(palette), frame = ScreenRect(t.host.Frame());
    Picture(t.output.pictures, "palette.png", shown);
    UnionRect(&frame, &frame, &shown);
    Picture(t.output.pictures, "converted.png", frame);
    SetWindowPos(t.host.Frame(), nullptr, 0, 0, tall.right - tall.left, tall.bottom - tall.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(200);

    Say("closing the palette: its place and ticks go to the settings file beside the plug-in");
    ClickButton(t.toolbar, Palette);
    Check(FindPalette() == nullptr, "the palette is closed");
    CheckButtons(t, {}, {});
    Check(SettingsValue(t, "StrConvDlg_Left") == to.x && SettingsValue(t, "StrConvDlg_Top") == to.y &&
          SettingsValue(t, "StrConvDlg_ChkVal2") == 1 && SettingsValue(t, "StrConvDlg_ChkVal5") == 1 &&
          SettingsValue(t, "StrConvDlg_ChkVal7") == 0,
          "the settings file holds the palette's place and ticks");
    Say("reopening it: same place, same ticks");
    ClickButton(t.toolbar, Palette);
    palette = FindPalette();
    if (!Check(palette != nullptr, "the palette is open again")) return;
    CheckAt("the palette", palette, to);
    CheckEqual("ticked", Ticked(palette), {"英数字", "全角"});
    ClickAt(CentreOf(t.host.View()));
    Press({VK_CONTROL}, VK_END);
}

// What is on the screen around the editor and the palette.
// The editor's caption, menu and rebar with the clip bar, as a display of another scale shows them.
void ScaledBarPicture(Tour& t, const std::string& path)
{
    UINT dpi = WindowDpi(t.host.Frame());
    Say("the clip bar at " + std::to_string(dpi) + " DPI (" + std::to_string(dpi * 100 / 96) + " %)");
    // The band alone, from its gripper to a little past the list: a picture of the whole editor
    // at this scale is wider than a page shows it at its own size.
    RECT box = {};
    int band = static_cast<int>(SendMessageA(t.host.Rebar(), RB_IDTOINDEX, kBandId, 0));
    SendMessageA(t.host.Rebar(), RB_GETRECT, band, reinterpret_cast<LPARAM>(&box));
    MapWindowPoints(t.host.Rebar(), nullptr, reinterpret_cast<POINT*>(&box), 2);
    box.right = std::min(box.right, ScreenRect(t.combo).right + ScaleForDpi(4, dpi));
    HideCaret(nullptr);
    Pump(300);
    RgbImage image;
    Check(CaptureScreen(box, image) && WritePng(path, image), "the picture " + path + " is written");
    ClickButton(t.toolbar, Exit);
    Pump(300);
    Check(ClipBarToolbar(t.host) == nullptr, "the band is gone");
}

void SaveScreenshot(Tour& t, const std::string& path)
{
    RECT box, other;
    GetWindowRect(t.host.Frame(), &box);
    HWND palette = FindPalette();
    if (palette != nullptr && GetWindowRect(palette, &other)) UnionRect(&box, &box, &other);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&box, &box, &screen);
    RgbImage image;
    Check(CaptureScreen(box, image) && WritePng(path, image), "the screenshot is written to " + path);
    Say("screenshot written to " + path);
}

} // namespace

void TourClipBar(HostApp& host, const TourOutput& output, const std::string& typed)
{
    HWND toolbar = ClipBarToolbar(host);
    if (!Check(toolbar != nullptr, "the clip bar is in the rebar")) return;
    Tour t = {host, output, toolbar, GetDlgItem(toolbar, kClipList), DocumentLines(host), {}};
    SetForegroundWindow(host.Frame());
    SetFocus(host.View());
    CheckButtons(t, {}, {});
    CheckList(t, "the clip list at first", {}, "(none)");
    if (!output.scaledBar.empty()) {
        ScaledBarPicture(t, output.scaledBar);
        return;
    }
    RECT frame = ScreenRect(host.Frame()), bar = ScreenRect(host.Rebar());
    Picture(output.pictures, "clipbar-open.png", {frame.left, frame.top, frame.right, bar.bottom + 2});

    Captures(t);
    Insertions(t);
    ToolTip(t);
    ClipboardHistory(t, typed);
    HeldList(t);
    SettingsMenu(t);
    ConversionPalette(t);
    if (!output.screenshot.empty()) SaveScreenshot(t, output.screenshot);

    Say("closing the clip bar");
    ClickButton(toolbar, Exit);
    Pump(300);
    Check(ClipBarToolbar(host) == nullptr, "the band is gone");
    Check(FindPalette() == nullptr, "the palette closed with the bar");
    Check(host.PluginEntryEnabled(0), "the menu entry is enabled again");
    Check(DocumentLines(host) == t.lines, "the document is as the tour left it");
}
