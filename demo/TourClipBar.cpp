#include "demo/TourClipBar.h"
#include "common/Dpi.h"
#include "demo/Screenshot.h"
#include "demo/TourCheck.h"
#include "demo/TourInput.h"
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

// Drops the list down with a click and clicks the item, as the user chooses it.
void ChooseItem(HWND combo, const std::string& text, std::initializer_list<WORD> modifiers = {})
{
    int index = IndexOf(combo, text);
    if (!Check(index >= 0, "\"" + text + "\" is in the list")) return;
    ClickAt(CentreOf(combo));
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    RECT item;
    if (Check(GetComboBoxInfo(combo, &info) && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), "the list drops down") &&
        SendMessageA(info.hwndList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
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

RECT ScreenRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

// The screen rectangle of a document line in the view.
RECT LineRect(HostApp& host, int line)
{
    POINT at = host.ViewControl().PointFromPos({line, 0});
    ClientToScreen(host.View(), &at);
    RECT view = ScreenRect(host.View());
    return {view.left, at.y, view.right, at.y + host.ViewControl().LineHeight()};
}

// A picture for the user guide: the part `box` of the screen, written as `name` into the
// pictures folder when one was asked for.
void Picture(Tour& t, const char* name, RECT box)
{
    if (t.output.pictures.empty()) return;
    // The caret blinks: shown afresh, every run's picture catches it lit.
    HideCaret(nullptr);
    ShowCaret(nullptr);
    Pump(100);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&box, &box, &screen);
    std::string path = t.output.pictures + "/" + name;
    RgbImage image;
    Check(CaptureScreen(box, image) && WritePng(path, image), "the picture " + path + " is written");
}

// The editor from its caption down to a little below `bottom`, and on to the end of the document
// line there, so no text is cut.
RECT EditorDownTo(Tour& t, LONG bottom)
{
    RECT frame = ScreenRect(t.host.Frame()), view = ScreenRect(t.host.View());
    POINT at = {view.left + 4, bottom + 4};
    if (at.y >= view.top && at.y < view.bottom) {
        ScreenToClient(t.host.View(), &at);
        at.y = LineRect(t.host, t.host.ViewControl().PosFromPoint(at).line).bottom;
    }
    return {frame.left, frame.top, frame.right, at.y < frame.bottom ? at.y : frame.bottom};
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
        Picture(t, name, EditorDownTo(t, shown.bottom > bottom ? shown.bottom : bottom));
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

// The document area of the view on the screen: its client rectangle, without the scroll bar.
RECT DocumentArea(Tour& t)
{
    RECT area = {};
    GetClientRect(t.host.View(), &area);
    MapWindowPoints(t.host.View(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

const int kPaletteMargin = 8;

// Where the palette goes: over the bottom right of the document area, where the inserted lines
// (short, at the left) stay in sight and nothing but the editor is around it. The margin above it
// starts where a line does, so a picture of it with the lines beside it cuts no text.
POINT OverDocument(Tour& t, HWND palette)
{
    RECT area = DocumentArea(t), box = ScreenRect(palette);
    int height = box.bottom - box.top, lineHeight = t.host.ViewControl().LineHeight();
    int lines = (area.bottom - area.top - height - 2 * kPaletteMargin) / lineHeight;
    return {area.right - kPaletteMargin - (box.right - box.left), area.top + lines * lineHeight + kPaletteMargin};
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
    ChooseItem(t.combo, kNoticeRest);
    t.lines.push_back(kNoticeRest);
    CheckDocument(t, "the document's end after a plain insertion");
    Press({}, VK_RETURN);
    ChooseItem(t.combo, kTime, {VK_CONTROL});
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
        Picture(t, "clipbar.png", EditorDownTo(t, ScreenRect(tip).bottom));
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
    Picture(t, "hold.png", EditorDownTo(t, ScreenRect(DroppedList(t.combo)).bottom));
    CheckButtons(t, {"リスト保持"}, {"行頭から保存", "行末まで保存", "選択範囲を保存", "1行保存", "履歴", "選択項目を削除",
                                     "全項目を削除", "終了"});
    Say("pressing the button again ends the hold");
    ClickButton(t.toolbar, Hold);
    Pump(300);
    Check(!ListShown(t.combo), "the list is closed");
    CheckButtons(t, {}, {});
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

    POINT to = OverDocument(t, palette);
    Say("clicking into the document, then dragging the palette over its bottom right by its surface");
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
    ChooseItem(t.combo, kNoticeRest, {VK_CONTROL});
    PaletteOnTop(palette);
    t.lines.back() = "明日は9時30分から、資料はPDFで配ります。";
    t.lines.push_back("");
    Say("unticking 大文字, ticking 英数字 and 全角, choosing the time");
    ClickBox(palette, kUpper);
    ClickBox(palette, kAlnum);
    ClickBox(palette, kFullWidth);
    CheckEqual("ticked", Ticked(palette), {"英数字", "全角"});
    ChooseItem(t.combo, kTime);
    PaletteOnTop(palette);
    t.lines.back() = "９時３０分";
    CheckDocument(t, "the document's end after two converted insertions");
    // The palette alone; then the four inserted lines, plain above and converted below, with the
    // palette and its margins beside them: whole lines, as the margin above it starts on a line.
    RECT shown = ScreenRect(palette), area = DocumentArea(t);
    Picture(t, "palette.png", shown);
    int count = static_cast<int>(t.lines.size());
    LONG top = std::min(LineRect(t.host, count - 4).top, shown.top - kPaletteMargin);
    LONG bottom = std::min(area.bottom, std::max(LineRect(t.host, count - 1).bottom, shown.bottom + kPaletteMargin));
    Picture(t, "converted.png", {area.left, top, area.right, bottom});

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
    RECT frame = ScreenRect(t.host.Frame()), bar = ScreenRect(t.host.Rebar());
    RECT box = {frame.left, frame.top, frame.right, bar.bottom + ScaleForDpi(2, dpi)};
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

    Captures(t);
    Insertions(t);
    ToolTip(t);
    ClipboardHistory(t, typed);
    HeldList(t);
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
