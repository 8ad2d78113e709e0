#include "demo/TourClipBar.h"
#include "host/HostRebar.h"
#include "demo/PngWriter.h"
#include "demo/Screenshot.h"
#include "demo/TourInput.h"
#include "host/Utf8.h"
#include <commctrl.h>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The plug-in's band and command ids, as its user sees them: the buttons of the clip bar.
const UINT kBandId = 1000;
const int kClipList = 1001;
enum Button {
    ToCaret = 40002, FromCaret = 40003, Selection = 40004, History = 40007,
    WholeLine = 40008, Exit = 40009, Hold = 40010, Palette = 40011
};
const int kAlnum = 1005, kUpper = 1011, kFullWidth = 1012;

void Say(const std::string& cp932)
{
    printf("tour: %s\n", Cp932ToUtf8(cp932).c_str());
    fflush(stdout);
}

HWND ClipBarToolbar(HostApp& host) { return RebarBandChild(host.Rebar(), kBandId); }

void ClickButton(HWND toolbar, int id, std::initializer_list<WORD> modifiers = {})
{
    RECT r;
    int index = static_cast<int>(SendMessageA(toolbar, TB_COMMANDTOINDEX, id, 0));
    if (SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)))
        ClickAt(CentreOf(toolbar, r), modifiers);
}

std::vector<std::string> Items(HWND combo)
{
    std::vector<std::string> items;
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(SendMessageA(combo, CB_GETLBTEXTLEN, i, 0));
        std::string text(length > 0 ? length : 0, '\0');
        std::vector<char> buffer(text.size() + 1);
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        items.push_back(buffer.data());
    }
    return items;
}

void SayItems(HWND combo, const std::string& title)
{
    std::vector<std::string> items = Items(combo);
    Say(title + ": " + std::to_string(items.size()) + " items");
    for (size_t i = 0; i < items.size() && i < 8; ++i) Say("    [" + std::to_string(i) + "] \"" + items[i] + "\"");
    if (items.size() > 8) Say("    ...");
}

int IndexOf(HWND combo, const std::string& text)
{
    std::vector<std::string> items = Items(combo);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == text) return static_cast<int>(i);
    return -1;
}

// Drops the list down with a click and clicks the item, as the user chooses it.
void ChooseItem(HWND combo, int index, std::initializer_list<WORD> modifiers = {})
{
    if (index < 0) return;
    ClickAt(CentreOf(combo));
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    RECT item;
    if (GetComboBoxInfo(combo, &info) && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) &&
        SendMessageA(info.hwndList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
        ClickAt(CentreOf(info.hwndList, item), modifiers);
    }
}

void GoTo(int line, int column, int selectChars = 0, int selectLines = 0)
{
    std::vector<INPUT> keys;
    AddPress(keys, {VK_CONTROL}, VK_HOME);
    for (int i = 0; i < line; ++i) AddPress(keys, {}, VK_DOWN);
    for (int i = 0; i < column; ++i) AddPress(keys, {}, VK_RIGHT);
    for (int i = 0; i < selectChars; ++i) AddPress(keys, {VK_SHIFT}, VK_RIGHT);
    for (int i = 0; i < selectLines; ++i) AddPress(keys, {VK_SHIFT}, VK_DOWN);
    Press(keys);
}

void SayLastLines(HostApp& host, const std::string& title, int count)
{
    const Document& doc = host.Edit().Doc();
    Say(title);
    int first = doc.LineCount() > count ? doc.LineCount() - count : 0;
    for (int i = first; i < doc.LineCount(); ++i) Say("    " + std::to_string(i + 1) + ": " + doc.Line(i));
}

HWND FindPalette() { return FindWindowA("#32770", "文字変換"); }

void SayPalette(HWND palette, const std::string& what)
{
    RECT r;
    GetWindowRect(palette, &r);
    Say(what + " at (" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")");
}

void ClickBox(HWND palette, int id, const char* name)
{
    ClickAt(CentreOf(GetDlgItem(palette, id)));
    Say(std::string("  \"") + name + "\" is " + (IsDlgButtonChecked(palette, id) ? "ticked" : "unticked"));
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

bool ListShown(HWND combo)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo, &info) && IsWindowVisible(info.hwndList);
}

// What is on the screen around the editor and the palette.
bool SaveScreenshot(HostApp& host, HWND palette, const std::string& path)
{
    RECT box, other;
    GetWindowRect(host.Frame(), &box);
    if (palette != nullptr && GetWindowRect(palette, &other)) UnionRect(&box, &box, &other);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&box, &box, &screen);
    RgbImage image;
    return CaptureScreen(box, image) && WritePng(path, image);
}

// A message box the tour did not expect would wait for a user who is not there: report and close it.
BOOL CALLBACK CloseBox(HWND window, LPARAM)
{
    char cls[16] = "", caption[128] = "", text[512] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(window) || GetDlgItem(window, 0xFFFF) == nullptr) return TRUE;
    GetWindowTextA(window, caption, sizeof caption);
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    Say(std::string("a message box \"") + caption + "\": \"" + text + "\" (closed by the tour)");
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK CloseStrayBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CloseBox, 0);
}

} // namespace

bool TourClipBar(HostApp& host, const std::string& pngPath)
{
    HWND toolbar = ClipBarToolbar(host);
    if (toolbar == nullptr) {
        Say("the clip bar is not in the rebar: nothing more to show");
        return false;
    }
    HWND combo = GetDlgItem(toolbar, kClipList);
    UINT_PTR guard = SetTimer(nullptr, 0, 2000, CloseStrayBoxes);
    SetForegroundWindow(host.Frame());
    SetFocus(host.View());

    Say("capturing: caret after \"Half-width letters\" on line 8");
    GoTo(7, 18);
    ClickButton(toolbar, ToCaret);
    ClickButton(toolbar, FromCaret);
    SayItems(combo, "after line start to caret, then caret to line end");
    Say("selecting \"quick\" and saving the selection");
    GoTo(7, 24, 5);
    ClickButton(toolbar, Selection);
    Say("saving the whole of line 10");
    GoTo(9, 3);
    ClickButton(toolbar, WholeLine);
    Say("selecting lines 4 to 6 and saving them with Ctrl: one item per line");
    GoTo(3, 0, 0, 3);
    ClickButton(toolbar, Selection, {VK_CONTROL});
    SayItems(combo, "the clip list");

    Press({VK_CONTROL}, VK_END);
    Press({}, VK_RETURN);
    SayLastLines(host, "the document's end before inserting", 3);
    Say("choosing \"quick\" from the list, then \"Half-width letters\" with Ctrl (followed by Enter)");
    ChooseItem(combo, IndexOf(combo, "quick"));
    ChooseItem(combo, IndexOf(combo, "Half-width letters"), {VK_CONTROL});
    SayLastLines(host, "the document's end after inserting", 3);

    Say("copying \"fox\" and then \"dog\" with Ctrl+C in the editor");
    GoTo(7, 36, 3);
    Press({VK_CONTROL}, 'C');
    GoTo(7, 60, 3);
    Press({VK_CONTROL}, 'C');
    ClickButton(toolbar, History);
    SayItems(combo, "the clipboard history");
    ClickButton(toolbar, History);
    SayItems(combo, "back to the saved items");

    Say("holding the list open");
    ClickButton(toolbar, Hold);
    Pump(1500);
    Say(std::string("after 1.5 s the list is ") + (ListShown(combo) ? "still open" : "closed"));
    ClickButton(toolbar, Hold);
    Pump(300);
    Say(std::string("pressed again: the hold is ") + (SendMessageA(toolbar, TB_ISBUTTONCHECKED, Hold, 0) ? "still on" : "off") +
        ", the list is " + (ListShown(combo) ? "open" : "closed"));

    Say("opening the conversion palette");
    ClickButton(toolbar, Palette);
    HWND palette = FindPalette();
    if (palette == nullptr) {
        Say("the palette did not open");
    } else {
        SayPalette(palette, "the palette is");
        // Beside the editor rather than over it: the user keeps both in sight.
        RECT frame;
        GetWindowRect(host.Frame(), &frame);
        POINT from = PaletteSurface(palette);
        RECT box;
        GetWindowRect(palette, &box);
        POINT to = {from.x + (frame.left + 200 - box.left), from.y + (frame.bottom + 10 - box.top)};
        Say("clicking into the document, then dragging the palette below the editor by its surface");
        ClickAt(CentreOf(host.View()));
        from = PaletteSurface(palette);
        DragOnScreen(from, to);
        SayPalette(palette, "the palette is now");
        Press({VK_CONTROL}, VK_END);
        ClickBox(palette, kUpper, "大文字");
        ChooseItem(combo, IndexOf(combo, "Half-width letters"), {VK_CONTROL});
        ClickBox(palette, kUpper, "大文字");
        ClickBox(palette, kAlnum, "英数字");
        ClickBox(palette, kFullWidth, "全角");
        ChooseItem(combo, IndexOf(combo, "quick"));
        SayLastLines(host, "the document's end after two converted insertions", 3);
        ClickBox(palette, kAlnum, "英数字");
        ClickBox(palette, kFullWidth, "全角");
        Say("closing and reopening the palette");
        ClickButton(toolbar, Palette);
        ClickButton(toolbar, Palette);
        palette = FindPalette();
        if (palette != nullptr) SayPalette(palette, "the palette reopened");
        ClickAt(CentreOf(host.View()));
        Press({VK_CONTROL}, VK_END);
    }
    bool saved = SaveScreenshot(host, palette, pngPath);
    Say(saved ? "screenshot written to " + pngPath : "could not write the screenshot to " + pngPath);

    Say("closing the clip bar");
    ClickButton(toolbar, Exit);
    Pump(300);
    Say(std::string("the band is ") + (ClipBarToolbar(host) == nullptr ? "gone" : "still there") +
        ", the menu entry is " + (host.PluginEntryEnabled(0) ? "enabled again" : "greyed"));
    KillTimer(nullptr, guard);
    return saved;
}

