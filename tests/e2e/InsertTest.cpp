// Choosing a saved item: the text goes into the document at the caret, converted by the host as
// the palette's boxes say while the palette is open.
#include "e2e/ClipBarFixture.h"
#include "fixture/MessageSequence.h"
#include "support/MessageBoxHook.h"
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kItem[] = "Ab1カナ";
const char kDocument[] = "x\r\nAb1カナ";
const int kBoxes[] = {1003, 1004, 1005, 1006, 1007, 1008, 1010, 1011, 1012};

class Insertion : public ClipBarFixture {
protected:
    Insertion() { setup.text = kDocument; }
    void SetUp() override
    {
        ClipBarFixture::SetUp();
        SetCaret(1, 0);
        Press(40008);
        ASSERT_EQ(std::vector<std::string>{kItem}, Items());
        SetCaret(0, 1);
    }
    // The item chosen with the log cleared first.
    void ChooseLogged(int index)
    {
        ClearLog();
        Choose(index);
    }
    bool TextBecomes(const std::string& text)
    {
        return PumpUntil([&] { return Text() == text; }, 3000);
    }
    int Chosen() { return static_cast<int>(SendMessageA(Combo(), CB_GETCURSEL, 0, 0)); }
    HWND OpenPalette()
    {
        Press(40011);
        return Palette();
    }
    // Sets the nine boxes directly, past the palette's own rules.
    static void Tick(HWND palette, const std::vector<int>& ticked)
    {
        for (int id : kBoxes) {
            bool on = std::find(ticked.begin(), ticked.end(), id) != ticked.end();
            SendMessageA(GetDlgItem(palette, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
};

TEST_F(Insertion, PaletteClosedInsertsTheTextAloneAndCtrlAddsOneEnter)
{
    SetFocus(Combo());
    ChooseLogged(0);
    EXPECT_EQ("xAb1カナ\r\nAb1カナ", Text());
    EXPECT_EQ(View(), GetFocus());
    EXPECT_TRUE(MatchesSequence(LogEntries(), {
        {HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, ""},
        {HM_INSERT_TEXT, 0, 0, SEQ_WPARAM | SEQ_TEXT, kItem},
    }));
    EXPECT_EQ(std::vector<std::string>{kItem}, Items());
    EXPECT_EQ(0, Chosen());

    {
        KeyReleases enter(VK_RETURN);
        CtrlKeyHeld ctrl;
        ChooseLogged(0);
        // The Enter comes through the input queue, after the text, as a plain Enter although Ctrl
        // is held: not the editor's Ctrl+Enter (the sample host's opens a line above).
        EXPECT_TRUE(TextBecomes("xAb1カナAb1カナ\r\n\r\nAb1カナ")) << Text();
        EXPECT_TRUE(enter.WaitFor(1));
        PumpPending();
        EXPECT_EQ("xAb1カナAb1カナ\r\n\r\nAb1カナ", Text()) << "one Enter only";
        EXPECT_TRUE(CtrlKeyHeld::AsHeld()) << "the user's Ctrl is down again, and no other";
    }
    EXPECT_TRUE(MatchesSequence(LogEntries(), {
        {HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, ""},
        {HM_INSERT_TEXT, 0, 0, SEQ_WPARAM | SEQ_TEXT, kItem},
    }));
}

TEST_F(Insertion, PaletteBoxesChooseTheConversionSentAfterSelectingTheText)
{
    HWND palette = OpenPalette();
    ASSERT_NE(nullptr, palette);
    const struct { const char* name; std::vector<int> ticked; std::vector<WPARAM> converts; const char* result; } cases[] = {
        {"大文字", {1011}, {0, 1}, "AB1カナ"},
        {"ｶﾀｶﾅ 半角", {1003, 1008}, {0x0403}, "Ab1ｶﾅ"},
        {"英数字 全角 小文字", {1005, 1012, 1010}, {0x0802, 0}, "ａｂ１カナ"},
        {"ｶﾀｶﾅ 全角 半角", {1003, 1012, 1008}, {0x0403}, "Ab1ｶﾅ"},
        {"大文字 小文字", {1011, 1010}, {0, 0}, "ab1カナ"},
        {"all targets 全角 大文字", {1003, 1004, 1005, 1006, 1007, 1012, 1011}, {0x7C02, 1}, "ＡＢ１カナ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetText(kDocument);
        SetCaret(0, 1);
        Tick(palette, c.ticked);
        ChooseLogged(0);
        EXPECT_EQ(std::string("x") + c.result + "\r\nAb1カナ", Text());
        std::vector<ExpectedMessage> expected = {
            {HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, ""},
            {HM_GET_CARET_POS, 0, 0, SEQ_WPARAM, nullptr},
            {HM_EDIT_BRACKET, 0, 0, SEQ_WPARAM | SEQ_LPARAM, nullptr},
            {HM_INSERT_TEXT, 0, 0, SEQ_WPARAM | SEQ_TEXT, kItem},
            {HM_GET_CARET_POS, 0, 0, SEQ_WPARAM, nullptr},
            {HM_SET_SELECTION, 0, 0, 0, nullptr},
        };
        for (WPARAM w : c.converts) expected.push_back({HM_CONVERT_SELECTION, w, 0, SEQ_WPARAM | SEQ_LPARAM, nullptr});
        expected.push_back({HM_EXEC_COMMAND, 4187, 0, SEQ_WPARAM | SEQ_LPARAM, nullptr});
        expected.push_back({HM_EDIT_BRACKET, 1, 0, SEQ_WPARAM | SEQ_LPARAM, nullptr});
        ASSERT_TRUE(MatchesSequence(LogEntries(), expected));
        // The inserted text, from behind it back to where the caret was, is what gets converted.
        const HostLogEntry& select = LogEntries()[5];
        EXPECT_EQ(8, select.before.column);
        EXPECT_EQ(1, select.after.column);
        EXPECT_EQ(0, select.before.line + select.after.line);
    }
    Tick(palette, {});
}

TEST_F(Insertion, ConvertedInsertionIsUndoneInOneStepAndCtrlEnterFollowsIt)
{
    HWND palette = OpenPalette();
    ASSERT_NE(nullptr, palette);
    Tick(palette, {1005, 1012, 1011});
    TypeChars("y");
    ASSERT_EQ("xy\r\nAb1カナ", Text());
    {
        CtrlKeyHeld ctrl;
        ChooseLogged(0);
        EXPECT_TRUE(TextBecomes("xyＡＢ１カナ\r\n\r\nAb1カナ")) << Text();
    }
    SendMessageA(Frame(), WM_COMMAND, IDM_UNDO, 0); // the Enter
    SendMessageA(Frame(), WM_COMMAND, IDM_UNDO, 0); // the whole converting insertion
    EXPECT_EQ("xy\r\nAb1カナ", Text());
    SendMessageA(Frame(), WM_COMMAND, IDM_UNDO, 0);
    EXPECT_EQ(kDocument, Text());
    Tick(palette, {});
}

TEST_F(Insertion, RejectedPaletteChoicesInsertNothingAndPointAtThePalette)
{
    HWND palette = OpenPalette();
    ASSERT_NE(nullptr, palette);
    MessageBoxHook boxes(Host().Plugins().at(0).module);
    const std::vector<int> rejected[] = {{}, {1003}, {1003, 1004, 1005, 1006, 1007}, {1012}, {1008}, {1012, 1008}};
    for (const auto& ticked : rejected) {
        SCOPED_TRACE(ticked.size());
        Tick(palette, ticked);
        SetCursorPos(1, 1);
        boxes.Clear();
        ChooseLogged(0);
        EXPECT_EQ(kDocument, Text());
        EXPECT_TRUE(MatchesSequence(LogEntries(), {{HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, ""}}));
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ("文字変換ダイアログのオプションが指定されていません！！", boxes.Boxes()[0].text);
        EXPECT_EQ("Vexaro Ver1.0β", boxes.Boxes()[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes.Boxes()[0].style);
        RECT r;
        ASSERT_TRUE(GetWindowRect(palette, &r));
        POINT p;
        GetCursorPos(&p);
        // The centre, then the 3-pixel nudge every choice ends with.
        EXPECT_EQ(3, std::abs(p.x - (r.left + (r.right - r.left) / 2)));
        EXPECT_EQ(r.top + (r.bottom - r.top) / 2, p.y);
    }
    Tick(palette, {});
}

TEST_F(Insertion, NoChosenItemIsReportedAndChangesNothing)
{
    MessageBoxHook boxes(Host().Plugins().at(0).module);
    SetFocus(Combo());
    ChooseLogged(-1);
    EXPECT_EQ(kDocument, Text());
    EXPECT_EQ(Combo(), GetFocus());
    EXPECT_TRUE(MatchesSequence(LogEntries(), {{HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, ""}}));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("選択項目の取得に失敗しました！！", boxes.Boxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONHAND), boxes.Boxes()[0].style);
}

} // namespace
