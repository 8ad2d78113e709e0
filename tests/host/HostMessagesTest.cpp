// The host messages a plug-in sends, answered by the sample host, with their edge cases.
#include "fixture/HostFixture.h"
#include "host/Conversion.h"
#include <cstring>

namespace {

// Line 2 holds double-byte characters; 表 ends in the byte 0x5C.
const char kText[] = "abc\r\n\r\nアイウ表示\r\nxyz";

class HostMessages : public HostFixture {
protected:
    HostMessages() { setup.text = kText; }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) { return SendHost(message, wParam, lParam); }
    template <typename T>
    LPARAM Address(T* record) { return reinterpret_cast<LPARAM>(record); }
};

TEST_F(HostMessages, SelectionTextSizeAndCopyWithCuts)
{
    EXPECT_EQ(1, Send(HM_GET_SEL_TEXT, 0, 0)) << "nothing selected: just the terminating zero";

    Select({0, 1}, {2, 4});
    const std::string selected = "bc\r\n\r\nアイ";
    ASSERT_EQ(static_cast<LRESULT>(selected.size() + 1), Send(HM_GET_SEL_TEXT, 0, 0));

    char buffer[32];
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(static_cast<LRESULT>(selected.size() + 1), Send(HM_GET_SEL_TEXT, selected.size() + 1, Address(buffer)));
    EXPECT_STREQ(selected.c_str(), buffer);

    // Capacity 10 leaves room for 9 bytes: the second half of イ would not fit, so イ goes whole.
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(9, Send(HM_GET_SEL_TEXT, 10, Address(buffer)));
    EXPECT_STREQ("bc\r\n\r\nア", buffer);
    EXPECT_EQ('#', buffer[9]) << "nothing written past the capacity";

    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(1, Send(HM_GET_SEL_TEXT, 1, Address(buffer)));
    EXPECT_EQ('\0', buffer[0]);
    EXPECT_EQ('#', buffer[1]);

    const HostLogEntry& last = LogEntries().back();
    EXPECT_EQ(static_cast<UINT>(HM_GET_SEL_TEXT), last.message);
    EXPECT_TRUE(last.hasText);
    EXPECT_EQ("", last.text);
}

TEST_F(HostMessages, LineSizesAndCopies)
{
    HostLineRequest request = {0, 1, 0};
    EXPECT_EQ(4, Send(HM_GET_LINE, reinterpret_cast<WPARAM>(&request), 0));
    request.line = 1;
    EXPECT_EQ(1, Send(HM_GET_LINE, reinterpret_cast<WPARAM>(&request), 0)) << "empty line";
    request.line = 2;
    EXPECT_EQ(11, Send(HM_GET_LINE, reinterpret_cast<WPARAM>(&request), 0));
    request.line = 4;
    EXPECT_EQ(0, Send(HM_GET_LINE, reinterpret_cast<WPARAM>(&request), 0)) << "no such line";

    char buffer[32];
    memset(buffer, '#', sizeof buffer);
    request = {11, 1, 2};
    EXPECT_EQ(11, Send(HM_GET_LINE, reinterpret_cast<WPARAM>(&request), Address(buffer)));
    EXPECT_STREQ("アイウ表示", buffer);

    memset(buffer, '#', sizeof buffer);
    request = {4, 1, 2}; // room for 3 bytes: one character and a half
    EXPECT_EQ(3, Send(HM_GET_LINE, reinterpret_cast<WPARAM>(&request), Address(buffer)));
    EXPECT_STREQ("ア", buffer);
    EXPECT_EQ('#', buffer[3]);

    memset(buffer, '#', sizeof buffer);
    request = {8, 1, 0}; // a copy never includes the line break
    EXPECT_EQ(4, Send(HM_GET_LINE, reinterpret_cast<WPARAM>(&request), Address(buffer)));
    EXPECT_STREQ("abc", buffer);

    memset(buffer, '#', sizeof buffer);
    request = {8, 1, 7};
    EXPECT_EQ(0, Send(HM_GET_LINE, reinterpret_cast<WPARAM>(&request), Address(buffer)));
    EXPECT_EQ('#', buffer[0]) << "a line past the end copies nothing";

    const HostLogEntry& last = LogEntries().back();
    EXPECT_TRUE(last.hasRequest);
    EXPECT_EQ(8u, last.request.capacity);
    EXPECT_EQ(1u, last.request.mode);
    EXPECT_EQ(7u, last.request.line);
}

TEST_F(HostMessages, CaretAndSelectionEnds)
{
    // Selected backwards: the caret is the start.
    Select({2, 6}, {0, 1});
    HostPos caret = {-1, -1}, start = {-1, -1}, end = {-1, -1};
    EXPECT_EQ(1, Send(HM_GET_CARET_POS, 2, Address(&caret)));
    EXPECT_EQ(1, Send(HM_GET_SEL_START, 0, Address(&start)));
    EXPECT_EQ(1, Send(HM_GET_SEL_END, 0, Address(&end)));
    EXPECT_EQ(1, caret.column);
    EXPECT_EQ(0, caret.line);
    EXPECT_EQ(1, start.column);
    EXPECT_EQ(0, start.line);
    EXPECT_EQ(6, end.column);
    EXPECT_EQ(2, end.line);

    const HostLogEntry& logged = LogEntries().front();
    EXPECT_TRUE(logged.hasPos);
    EXPECT_EQ(-1, logged.before.column);
    EXPECT_EQ(1, logged.after.column);

    SetCaret(3, 2);
    EXPECT_EQ(1, Send(HM_GET_SEL_START, 0, Address(&start)));
    EXPECT_EQ(1, Send(HM_GET_SEL_END, 0, Address(&end)));
    EXPECT_EQ(2, start.column);
    EXPECT_EQ(3, start.line);
    EXPECT_EQ(2, end.column);
    EXPECT_EQ(3, end.line);
}

TEST_F(HostMessages, ConvertPosFindsTheNearestRealPosition)
{
    struct Case { HostPos in; HostPos out; };
    const Case cases[] = {
        {{5000, 0}, {3, 0}},  // past the line end: the line end
        {{0, 1}, {0, 1}},     // the empty line
        {{1, 2}, {0, 2}},     // inside ア
        {{3, 2}, {2, 2}},     // inside イ
        {{8, 2}, {8, 2}},     // start of 示
        {{2, 99}, {2, 3}},    // past the last line: the last line
        {{-5, -1}, {0, 0}},
    };
    for (const Case& c : cases) {
        HostPos pos = c.in;
        EXPECT_EQ(1, Send(HM_CONVERT_POS, reinterpret_cast<WPARAM>(&pos), Address(&pos)));
        EXPECT_EQ(c.out.column, pos.column) << "from (" << c.in.column << "," << c.in.line << ")";
        EXPECT_EQ(c.out.line, pos.line) << "from (" << c.in.column << "," << c.in.line << ")";
    }
    const HostLogEntry& first = LogEntries().front();
    EXPECT_EQ(5000, first.before.column);
    EXPECT_EQ(3, first.after.column);
}

TEST_F(HostMessages, InsertTextCancelsTheSelectionAndBreaksLines)
{
    Select({0, 0}, {0, 2});
    const char inserted[] = "1\r\n2\n3";
    EXPECT_EQ(1, Send(HM_INSERT_TEXT, 0, reinterpret_cast<LPARAM>(inserted)));
    EXPECT_EQ("ab1\r\n2\r\n3c\r\n\r\nアイウ表示\r\nxyz", Text()) << "the selection stays, only unselected";
    EXPECT_EQ(2, Caret().line);
    EXPECT_EQ(1, Caret().column);
    EXPECT_EQ("", SelectedText());

    EXPECT_EQ(1, Send(HM_INSERT_TEXT, 0, reinterpret_cast<LPARAM>("ガ")));
    EXPECT_EQ(3, Caret().column);
    ASSERT_EQ(2u, LogEntries().size());
    EXPECT_EQ(inserted, LogEntries()[0].text);
}

TEST_F(HostMessages, SetSelectionLeavesTheCaretAtTheSecondPosition)
{
    HostPos from = {1, 0}, to = {4, 2};
    EXPECT_EQ(1, Send(HM_SET_SELECTION, reinterpret_cast<WPARAM>(&from), Address(&to)));
    EXPECT_EQ("bc\r\n\r\nアイ", SelectedText());
    EXPECT_EQ(2, Caret().line);
    EXPECT_EQ(4, Caret().column);

    // Backwards, with a column past the line end.
    from = {5000, 3};
    to = {1, 2};
    Send(HM_SET_SELECTION, reinterpret_cast<WPARAM>(&from), Address(&to));
    EXPECT_EQ("アイウ表示\r\nxyz", SelectedText());
    EXPECT_EQ(0, Caret().column) << "inside ア: moved to its start";

    const HostLogEntry& logged = LogEntries().back();
    EXPECT_EQ(5000, logged.before.column);
    EXPECT_EQ(1, logged.after.column);
}

TEST_F(HostMessages, ExecCommandCancelSelectionAndOthers)
{
    Select({2, 4}, {0, 1});
    EXPECT_EQ(1, Send(HM_EXEC_COMMAND, HC_CANCEL_SELECTION, 0));
    EXPECT_EQ("", SelectedText());
    EXPECT_EQ(2, Caret().line) << "the caret ends at the selection's end";
    EXPECT_EQ(4, Caret().column);

    Select({0, 0}, {0, 3});
    EXPECT_EQ(0, Send(HM_EXEC_COMMAND, 4100, 0));
    EXPECT_EQ("abc", SelectedText()) << "other commands are only logged";
    EXPECT_EQ(kText, Text());
    EXPECT_EQ(2u, LogEntries().size());
}

TEST_F(HostMessages, StatusTextThroughTheFrameAndTheView)
{
    EXPECT_EQ(1, Send(HM_SET_STATUS_TEXT, 0, reinterpret_cast<LPARAM>("保存しました")));
    EXPECT_EQ("保存しました", StatusText());
    ClearLog();
    EXPECT_EQ(1, SendHost(HM_SET_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(""), View()));
    EXPECT_EQ("", StatusText());
    ASSERT_EQ(1u, LogEntries().size()) << "a message sent to the view is handled and logged once";
    EXPECT_EQ(View(), LogEntries()[0].receiver);
    EXPECT_EQ("", LogEntries()[0].text);

    EXPECT_EQ(0, SendHost(2150, 7, 8, View())) << "unknown host messages are answered 0";
    ASSERT_EQ(2u, LogEntries().size());
    EXPECT_EQ(2150u, LogEntries()[1].message);
    EXPECT_EQ(7u, LogEntries()[1].wParam);
    EXPECT_EQ(8, LogEntries()[1].lParam);
}

TEST_F(HostMessages, ConvertSelectionKeepsTheConvertedTextSelected)
{
    SetText("ｶﾞｷﾞ abc\r\nﾊﾟｰ");
    Select({0, 0}, {1, 3});
    EXPECT_EQ(1, Send(HM_CONVERT_SELECTION, CONV_FULL_WIDTH | CONV_KATAKANA | CONV_KANA_SYMBOL, 0));
    EXPECT_EQ("ガギ abc\r\nパー", Text());
    EXPECT_EQ("ガギ abc\r\nパー", SelectedText());
    Send(HM_CONVERT_SELECTION, CONV_UPPER, 0);
    EXPECT_EQ("ガギ ABC\r\nパー", Text());
    EXPECT_EQ(1, Send(HM_EXEC_COMMAND, HC_CANCEL_SELECTION, 0));
    EXPECT_EQ(1, Caret().line);
    EXPECT_EQ(4, Caret().column) << "behind the converted text, which grew by one byte";
}

TEST_F(HostMessages, UndoGroupTakesBackAConvertingInsertionInOneStep)
{
    SetText("abc");
    SetCaret(0, 3);
    HostPos before = {0, 0}, after = {0, 0};
    Send(HM_GET_CARET_POS, 0, Address(&before));
    Send(HM_EDIT_BRACKET, 0, 0);
    Send(HM_INSERT_TEXT, 0, reinterpret_cast<LPARAM>("ｶﾞx"));
    Send(HM_GET_CARET_POS, 0, Address(&after));
    Send(HM_SET_SELECTION, reinterpret_cast<WPARAM>(&after), Address(&before));
    Send(HM_CONVERT_SELECTION, CONV_FULL_WIDTH | CONV_KATAKANA | CONV_ALNUM, 0);
    Send(HM_EXEC_COMMAND, HC_CANCEL_SELECTION, 0);
    Send(HM_EDIT_BRACKET, 1, 0);
    ASSERT_EQ("abcガｘ", Text());

    SendMessageA(Frame(), WM_COMMAND, IDM_UNDO, 0); // 元に戻す
    EXPECT_EQ("abc", Text());
    EXPECT_EQ(3, Caret().column);
    EXPECT_FALSE(Host().Edit().CanUndo()) << "one step took back the whole group";

    // Without the brackets the same changes are two steps.
    Send(HM_INSERT_TEXT, 0, reinterpret_cast<LPARAM>("ｶﾞ"));
    Select({0, 3}, {0, 5});
    Send(HM_CONVERT_SELECTION, CONV_FULL_WIDTH | CONV_KATAKANA, 0);
    SendMessageA(Frame(), WM_COMMAND, IDM_UNDO, 0);
    EXPECT_EQ("abcｶﾞ", Text());
    SendMessageA(Frame(), WM_COMMAND, IDM_UNDO, 0);
    EXPECT_EQ("abc", Text());
}

} // namespace
