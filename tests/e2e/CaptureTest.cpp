// Capturing pieces of the document with the four save buttons: what lands in the clip list, what
// the document, the status bar and the host see.
#include "e2e/ClipBarFixture.h"
#include "fixture/MessageSequence.h"
#include "support/MessageBoxHook.h"
#include <memory>
#include <string>
#include <vector>

namespace {

using List = std::vector<std::string>;
const char kCutMessage[] = "取得文字列の、5000 バイト（保存上限）以降を切り捨てました！！";

std::string At(const HostPos& p) { return std::to_string(p.column) + "," + std::to_string(p.line); }

class CaptureCommands : public ClipBarFixture {
protected:
    // The button pressed with the log cleared first, Ctrl held if asked.
    void PressLogged(int id, bool ctrl = false)
    {
        std::unique_ptr<CtrlHeld> held(ctrl ? new CtrlHeld : nullptr);
        ClearLog();
        Press(id);
    }
    int Chosen() { return static_cast<int>(SendMessageA(Combo(), CB_GETCURSEL, 0, 0)); }
    HMODULE Plugin() { return Host().Plugins().at(0).module; }
};

TEST_F(CaptureCommands, CaretButtonsSelectTheirRangeAndStoreItWithOrWithoutCtrl)
{
    const struct { int id; const char* anchor; const char* converted; const char* text; } cases[] = {
        {40002, "0,1", "0,1", "Def"},
        {40003, "5000,1", "7,1", " ghi"},
    };
    for (const auto& c : cases) {
        for (bool ctrl : {false, true}) {
            SCOPED_TRACE(std::to_string(c.id) + (ctrl ? " with Ctrl" : ""));
            SetCaret(1, 3);
            SetFocus(Combo());
            PressLogged(c.id, ctrl);
            EXPECT_EQ(c.text, Items().front());
            EXPECT_EQ(0, Chosen());
            EXPECT_EQ(c.text, SelectedText()) << "the captured range stays selected";
            EXPECT_EQ(View(), GetFocus());
            ASSERT_TRUE(MatchesSequence(LogEntries(), {
                {HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, ""},
                {HM_GET_CARET_POS, 2, 0, SEQ_WPARAM, nullptr},
                {HM_CONVERT_POS, 0, 0, 0, nullptr},
                {HM_CONVERT_POS, 0, 0, 0, nullptr},
                {HM_SET_SELECTION, 0, 0, 0, nullptr},
                {HM_SET_SELECTION, 0, 0, 0, nullptr},
                {HM_GET_SEL_TEXT, 0, 0, SEQ_WPARAM | SEQ_LPARAM, nullptr},
                {HM_GET_SEL_TEXT, strlen(c.text) + 1, 0, SEQ_WPARAM | SEQ_TEXT, c.text},
            }));
            const std::vector<HostLogEntry>& log = LogEntries();
            EXPECT_EQ(c.anchor, At(log[2].before));
            EXPECT_EQ(c.converted, At(log[2].after));
            EXPECT_EQ("3,1", At(log[3].after));
            for (int i : {4, 5}) {
                EXPECT_EQ(c.converted, At(log[i].before));
                EXPECT_EQ("3,1", At(log[i].after));
            }
        }
    }
    EXPECT_EQ((List{" ghi", "Def"}), Items());
    EXPECT_EQ("abc\r\nDef ghi\r\n\r\nカタカナ", Text());
}

TEST_F(CaptureCommands, LineAndSelectionButtonsStoreWithoutTouchingTheDocument)
{
    for (bool ctrl : {false, true}) {
        SCOPED_TRACE(ctrl ? "with Ctrl" : "without Ctrl");
        SetCaret(3, 2);
        PressLogged(40008, ctrl);
        EXPECT_EQ((List{"カタカナ"}), Items());
        EXPECT_EQ(0, Chosen());
        ASSERT_TRUE(MatchesSequence(LogEntries(), {
            {HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, ""},
            {HM_GET_CARET_POS, 1, 0, SEQ_WPARAM, nullptr},
            {HM_GET_LINE, 0, 0, SEQ_LPARAM, nullptr},
            {HM_GET_LINE, 0, 0, SEQ_TEXT, "カタカナ"},
        }));
        const HostLineRequest& size = LogEntries()[2].request;
        const HostLineRequest& copy = LogEntries()[3].request;
        EXPECT_EQ("0 1 3", std::to_string(size.capacity) + " " + std::to_string(size.mode) + " " + std::to_string(size.line));
        EXPECT_EQ("10 1 3", std::to_string(copy.capacity) + " " + std::to_string(copy.mode) + " " + std::to_string(copy.line));
        EXPECT_TRUE(Caret() == (TextPos{3, 2}));
        EXPECT_EQ("", SelectedText());
    }
    Select({0, 1}, {1, 3});
    PressLogged(40004);
    EXPECT_EQ((List{"bc\r\nDef", "カタカナ"}), Items());
    EXPECT_EQ(0, Chosen());
    EXPECT_EQ("bc\r\nDef", SelectedText());
    EXPECT_TRUE(MatchesSequence(LogEntries(), {
        {HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, ""},
        {HM_GET_SEL_START, 0, 0, SEQ_WPARAM, nullptr},
        {HM_GET_SEL_END, 0, 0, SEQ_WPARAM, nullptr},
        {HM_GET_SEL_TEXT, 0, 0, SEQ_WPARAM | SEQ_LPARAM, nullptr},
        {HM_GET_SEL_TEXT, 9, 0, SEQ_WPARAM | SEQ_TEXT, "bc\r\nDef"},
    }));
    EXPECT_EQ("abc\r\nDef ghi\r\n\r\nカタカナ", Text());
}

TEST_F(CaptureCommands, EmptyRangesStoreNothingAndOnlyClearTheStatusBar)
{
    BeepCounter beeps(Plugin());
    ASSERT_TRUE(beeps.Installed());
    // The caret buttons stop once the size is known; the selection is copied before it is judged.
    const struct { int id; TextPos caret; UINT last; WPARAM lastWParam; } cases[] = {
        {40002, {1, 0}, HM_GET_SEL_TEXT, 0}, // caret at the line start
        {40003, {1, 7}, HM_GET_SEL_TEXT, 0}, // caret at the line end
        {40004, {1, 2}, HM_GET_SEL_TEXT, 2}, // nothing selected
        {40008, {2, 0}, HM_GET_LINE, 0},     // an empty line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        SendHost(HM_SET_STATUS_TEXT, 0, reinterpret_cast<LPARAM>("前の通知"));
        SetCaret(c.caret.line, c.caret.column);
        PressLogged(c.id);
        EXPECT_TRUE(Items().empty());
        EXPECT_EQ("", StatusText());
        ASSERT_FALSE(LogEntries().empty());
        const HostLogEntry& last = LogEntries().back();
        EXPECT_EQ(c.last, last.message);
        if (c.last == HM_GET_SEL_TEXT) {
            EXPECT_EQ(c.lastWParam, last.wParam);
        }
        EXPECT_EQ(1, last.result) << "an empty text";
    }
    EXPECT_EQ(0, beeps.Count());
}

TEST_F(CaptureCommands, StoreLimitCutsAfterFiveThousandBytesOnACharacterBoundary)
{
    BeepCounter beeps(Plugin());
    ASSERT_TRUE(beeps.Installed());
    const std::string x4998(4998, 'x'), x4999(4999, 'x');
    const struct { int id; std::string line; std::string stored; } cases[] = {
        {40004, std::string(5000, 'x'), std::string(5000, 'x')},
        {40004, x4999 + "yz", x4999 + "y"},
        {40004, x4999 + "ソabc", x4999},      // byte 5000 would be the first half of ソ
        {40004, x4998 + "ソabc", x4998 + "ソ"},
        {40008, x4999 + "アabc", x4999},
        {40002, x4999 + "イabc", x4999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + ", line of " + std::to_string(c.line.size()) + " bytes");
        SetText(c.line + "\r\nnext");
        int end = static_cast<int>(c.line.size());
        if (c.id == 40004) Select({0, 0}, {0, end});
        if (c.id == 40002) SetCaret(0, end);
        int before = beeps.Count();
        PressLogged(c.id);
        EXPECT_EQ(c.stored, Items().front());
        bool cut = c.line.size() > 5000;
        EXPECT_EQ(cut ? kCutMessage : "", StatusText());
        EXPECT_EQ(cut ? 1 : 0, beeps.Count() - before);
    }
    EXPECT_EQ(4u, Items().size());
}

TEST_F(CaptureCommands, CtrlSplitsTheSelectionIntoDistinctLines)
{
    SetText("a\r\n\r\nb\r\nz");
    Select({0, 0}, {3, 0});
    PressLogged(40004, true);
    EXPECT_EQ((List{"a", "b"}), Items());
    EXPECT_EQ(0, Chosen());
    EXPECT_TRUE(MatchesSequence(LogEntries(), {
        {HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, ""},
        {HM_GET_SEL_START, 0, 0, SEQ_WPARAM, nullptr},
        {HM_GET_SEL_END, 0, 0, SEQ_WPARAM, nullptr},
        {HM_GET_SEL_TEXT, 0, 0, SEQ_WPARAM | SEQ_LPARAM, nullptr},
        {HM_GET_SEL_TEXT, 10, 0, SEQ_WPARAM | SEQ_TEXT, "a\r\n\r\nb\r\n"},
    }));

    // Letter case is ignored: each line once, spelled and placed as its first occurrence, and an
    // existing item in another case gives way to the new spelling.
    SetText("XYZ\r\nAbc\r\nxyz\r\nABC\r\nabc\r\n");
    SetCaret(0, 1);
    PressLogged(40008);
    Select({1, 0}, {5, 0});
    PressLogged(40004, true);
    EXPECT_EQ((List{"Abc", "xyz", "a", "b"}), Items());
    SetCaret(0, 1);
    PressLogged(40008);
    EXPECT_EQ((List{"XYZ", "Abc", "a", "b"}), Items());
    EXPECT_EQ(0, Chosen());

    // Only the kept 5000 bytes are split.
    BeepCounter beeps(Plugin());
    SetText(std::string(4990, 'q') + "\r\nbcdefghijklmn");
    Select({0, 0}, {1, 13});
    PressLogged(40004, true);
    List items = Items();
    ASSERT_EQ(6u, items.size());
    EXPECT_TRUE(items[0] == std::string(4990, 'q'));
    EXPECT_EQ((List{"bcdefghi", "XYZ", "Abc", "a", "b"}), List(items.begin() + 1, items.end()));
    EXPECT_EQ(kCutMessage, StatusText());
    EXPECT_EQ(1, beeps.Count());
}

} // namespace
