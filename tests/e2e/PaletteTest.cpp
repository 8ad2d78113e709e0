// The conversion palette in the sample host: its boxes and rules under real clicks, its settings
// file, and the insertion converted as its boxes say.
#include "e2e/PaletteFixture.h"
#include "support/MessageBoxHook.h"
#include "support/Pump.h"
#include <windows.h>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

class Palette : public PaletteFixture {};

// Another application's window, on a thread of its own, brought to the front while it lives.
class OtherApplication {
public:
    OtherApplication()
    {
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = std::thread([this, ready] {
            threadId = GetCurrentThreadId();
            window = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE | WS_CAPTION, 900, 700, 200, 100,
                                     nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(window);
            SetEvent(ready);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            DestroyWindow(window);
        });
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
    }
    ~OtherApplication()
    {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        thread.join();
    }
    HWND window = nullptr;

private:
    std::thread thread;
    DWORD threadId = 0;
};

TEST_F(Palette, FreshInstallationOpensAtTheCornerWithNothingTicked)
{
    ActiveCaptions captions;
    HWND palette = OpenPalette();
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ(TBSTATE_ENABLED | TBSTATE_CHECKED, State(40011));
    // Both captions drawn active, though the palette took the activation as it opened.
    EXPECT_EQ(1, captions.For(Frame()));
    EXPECT_EQ(1, captions.For(palette));
    RECT r = WindowRect(palette);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ("000000000", States());
    EXPECT_EQ("targets", Layout());
    for (int id : {1003, 1004, 1005, 1006, 1007, 1009}) EXPECT_TRUE(IsWindowEnabled(Box(id))) << id;
    Press(40011);
    EXPECT_EQ(nullptr, ClipBarFixture::Palette());
    EXPECT_EQ(Frame(), GetActiveWindow());
    EXPECT_EQ("000000000", StoredStates());
}

TEST_F(Palette, ExclusionsAndRulesFollowEveryClick)
{
    // A click on a box, then the nine states, the layout and whether "英数字" is enabled.
    const struct { int click; const char* states; const char* layout; bool alnumEnabled; } steps[] = {
        {1010, "000000001", "letters", true},   // case alone: letters only
        {1011, "000000010", "letters", true},   // "大文字" takes over from "小文字"
        {1011, "000000000", "targets", true},
        {1012, "000001000", "targets", true},   // width alone
        {1008, "000000100", "targets", true},   // "半角" takes over from "全角"
        {1011, "001000110", "targets", false},  // width and case: "英数字" forced
        {1003, "101000110", "targets", false},  // a target toggles alone
        {1010, "101000101", "targets", false},  // case switched while forced
        {1008, "100000001", "letters", false},  // released: the user's unticked "英数字" comes back
        {1010, "100000000", "targets", true},
        {1005, "101000000", "targets", true},
        {1012, "101001000", "targets", true},
        {1011, "101001010", "targets", false},
        {1010, "101001001", "targets", false},
        {1010, "101001000", "targets", true},   // released: the user's ticked "英数字" stays
        {1005, "100001000", "targets", true},
    };
    ASSERT_NE(nullptr, OpenPalette());
    for (const auto& step : steps) {
        ClickBoxes({step.click});
        SCOPED_TRACE("step " + std::to_string(&step - steps) + ", a click on " + std::to_string(step.click));
        EXPECT_EQ(step.states, States());
        EXPECT_EQ(step.layout, Layout());
        EXPECT_EQ(step.alnumEnabled, IsWindowEnabled(Box(1005)) != FALSE);
    }
}

TEST_F(Palette, SelectAllTicksAndUnticksTheTargetsOnRelease)
{
    ASSERT_NE(nullptr, OpenPalette());
    // The first press is held: the boxes change only once the button is released.
    const DWORD held = 300;
    ASSERT_TRUE(MovePointer(Centre(WindowRect(Box(1009)))));
    SendButton(MOUSEEVENTF_LEFTDOWN);
    std::thread release([held] {
        Sleep(held);
        SendButton(MOUSEEVENTF_LEFTUP);
    });
    DWORD start = GetTickCount();
    bool ticked = PumpUntil([this] { return States() == "111110000"; }, 3000);
    DWORD took = GetTickCount() - start;
    release.join();
    Settle();
    EXPECT_TRUE(ticked) << States();
    EXPECT_GE(took, held - 50);
    EXPECT_EQ(0, SendMessageA(Box(1009), BM_GETSTATE, 0, 0) & BST_PUSHED);
    ClickBoxes({1009});
    EXPECT_EQ("000000000", States());
    // A forced "英数字" stays ticked either way.
    ClickBoxes({1012, 1011, 1009});
    EXPECT_EQ("111111010", States());
    ClickBoxes({1009});
    EXPECT_EQ("001001010", States());
    ClickBoxes({1011});
    EXPECT_EQ("000001000", States());
}

TEST_F(Palette, ClicksNeverActivateItAndBringTheEditorBack)
{
    // Beside the editor: Wine raises a frame that comes to the front above the windows it owns.
    WriteSetting("StrConvDlg_Left", "900");
    WriteSetting("StrConvDlg_Top", "120");
    HWND palette = OpenPalette();
    ASSERT_NE(nullptr, palette);
    ClickDocument();
    TextPos caret = Caret();
    RECT place = WindowRect(palette);
    POINT box = Centre(WindowRect(Box(1003)));
    POINT caption = {box.x, place.top + 4};
    auto expectEditorActive = [&](const char* what) {
        EXPECT_EQ(Frame(), GetForegroundWindow()) << what;
        EXPECT_EQ(Frame(), GetActiveWindow()) << what;
        EXPECT_EQ(View(), GetFocus()) << what;
        EXPECT_EQ(nullptr, GetCapture()) << what;
        EXPECT_EQ(caret, Caret()) << what;
        RECT now = WindowRect(palette);
        EXPECT_TRUE(EqualRect(&place, &now)) << what;
    };
    const struct { DWORD down, up, data; const char* name; } buttons[] = {
        {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0, "right"},
        {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0, "middle"},
        {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1, "x1"},
    };
    for (const auto& b : buttons) {
        ClickAt(box, b.down, b.up, b.data);
        ClickAt(caption, b.down, b.up, b.data);
        EXPECT_EQ("000000000", States()) << b.name;
        expectEditorActive(b.name);
    }
    ClickBoxes({1003});
    EXPECT_EQ("100000000", States());
    expectEditorActive("left");

    OtherApplication other;
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other.window && GetActiveWindow() == nullptr; }, 3000));
    // The editor disabled (by a modal box of its own, say): the click works, the front stays.
    EnableWindow(Frame(), FALSE);
    ClickBoxes({1004});
    EXPECT_EQ("110000000", States());
    EXPECT_EQ(other.window, GetForegroundWindow());
    EnableWindow(Frame(), TRUE);
    ClickBoxes({1004});
    EXPECT_EQ("100000000", States());
    EXPECT_EQ(Frame(), GetForegroundWindow());
}

TEST_F(Palette, KeysTypedRightAfterOpeningAndClosingItGoIntoTheDocument)
{
    SetText("");
    ClickDocument();
    HWND palette = OpenPalette();
    ASSERT_NE(nullptr, palette);
    EXPECT_TRUE(IsWindowVisible(palette));
    EXPECT_EQ(Frame(), GetActiveWindow());
    EXPECT_EQ(View(), GetFocus());
    PressKeyWhereFocused('X');
    // A key a focused check box would have taken as a click.
    PressKeyWhereFocused(VK_SPACE);
    EXPECT_EQ("000000000", States());
    Press(40011);
    ASSERT_FALSE(IsWindow(palette));
    EXPECT_EQ(View(), GetFocus());
    PressKeyWhereFocused('Y');
    EXPECT_EQ("x y", Text());
}

TEST_F(Palette, SettingsRestoreThePlaceAndTheNineStates)
{
    WriteSetting("StrConvDlg_Top", "77");
    WriteSetting("StrConvDlg_Left", "123");
    WriteStates("010111100");  // both width boxes: only the settings file ticks them together
    for (int round = 0; round < 2; ++round) {
        HWND palette = OpenPalette();
        ASSERT_NE(nullptr, palette);
        RECT r = WindowRect(palette);
        EXPECT_EQ(123, r.left);
        EXPECT_EQ(77, r.top);
        EXPECT_EQ(round == 0 ? "010111100" : "110110100", States());
        if (round == 0) ClickBoxes({1003, 1012});
        Press(40011);
        ASSERT_EQ(nullptr, ClipBarFixture::Palette());
        // Index 5 is "全角" (1012), index 6 "半角" (1008).
        EXPECT_EQ("110110100", StoredStates());
        EXPECT_EQ("77", ReadSetting("StrConvDlg_Top"));
        EXPECT_EQ("123", ReadSetting("StrConvDlg_Left"));
    }
}

TEST_F(Palette, ChosenItemIsInsertedConvertedAsTheBoxesSay)
{
    const struct {
        const char* item;
        std::vector<int> clicks;  // on a fresh palette
        const char* stored;       // or the nine states from the settings file
        const char* inserted;     // null: rejected
    } cases[] = {
        {"Abc-12 ｶﾅ", {1011}, nullptr, "ABC-12 ｶﾅ"},                  // "大文字"
        {"カタカナ Abc ＡＢ", {1003, 1008}, nullptr, "ｶﾀｶﾅ Abc ＡＢ"},  // "ｶﾀｶﾅ" + "半角"
        {"Abc1 カナ", {1005, 1012, 1010}, nullptr, "ａｂｃ１ カナ"},     // "英数字" + "全角" + "小文字"
        {"ＡＢ１ カ", {}, "001001100", "AB1 カ"},                      // both widths: "半角" wins
        {"abc", {1003}, nullptr, nullptr},                             // targets alone
        {"abc", {1012}, nullptr, nullptr},                             // a width alone
    };
    MessageBoxHook boxes(Host().Plugins().at(0).module);
    ASSERT_TRUE(boxes.Installed());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("item ") + c.item);
        RemoveSettings();
        if (c.stored != nullptr) WriteStates(c.stored);
        std::string document = std::string(c.item) + "\r\n";
        SetText(document);
        SetCaret(0, 1);
        Press(40008);
        HWND palette = OpenPalette();
        ASSERT_NE(nullptr, palette);
        ClickBoxes(c.clicks);
        SetCaret(1, 0);
        boxes.Clear();
        Choose(0);
        EXPECT_EQ(document + (c.inserted != nullptr ? c.inserted : ""), Text());
        if (c.inserted == nullptr) {
            ASSERT_EQ(1u, boxes.Boxes().size());
            EXPECT_EQ("文字変換ダイアログのオプションが指定されていません！！", boxes.Boxes()[0].text);
            // The pointer is put in the middle of the palette, then nudged 3 pixels sideways.
            POINT middle = Centre(WindowRect(palette));
            POINT pointer;
            GetCursorPos(&pointer);
            EXPECT_EQ(3, std::abs(pointer.x - middle.x));
            EXPECT_EQ(middle.y, pointer.y);
        } else {
            EXPECT_TRUE(boxes.Boxes().empty());
        }
        Press(40011);
    }
}

} // namespace
