// The clip bar in the sample host: what the user sees after opening it and using its buttons.
#include "e2e/ClipBarFixture.h"
#include "support/MessageBoxHook.h"
#include "support/Pump.h"
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

namespace {

class ClipBar : public ClipBarFixture {};

TEST_F(ClipBar, BandIsAppendedLastWithItsToolbarAndList)
{
    int count = static_cast<int>(SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0));
    ASSERT_GE(count, 2);
    EXPECT_EQ(count - 1, SendMessageA(Rebar(), RB_IDTOINDEX, 1000, 0));
    HWND toolbar = Toolbar();
    ASSERT_NE(nullptr, toolbar);
    const int order[] = {0, 40001, 40002, 40003, 40004, 40008, 0, 40007, 40010, 40011, 0, 40005, 40006, 0, 40009, 0};
    ASSERT_EQ(16, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < 16; ++i) {
        TBBUTTON b = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        EXPECT_EQ(order[i], b.idCommand) << i;
        if (order[i] == 40001) {
            EXPECT_TRUE(b.fsState & TBSTATE_HIDDEN);
        }
    }
    HWND combo = Combo();
    ASSERT_NE(nullptr, combo);
    // The combo box hands WS_VSCROLL on to its list and drops it from its own style.
    EXPECT_EQ(0x56210143, static_cast<LONG>(GetWindowLongPtrA(combo, GWL_STYLE) | WS_VSCROLL));
    RECT r;
    GetWindowRect(combo, &r);
    MapWindowPoints(nullptr, toolbar, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(270, r.left);
    EXPECT_EQ(3, r.top);
    EXPECT_EQ(200, r.right - r.left);
    EXPECT_EQ(17, SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(0, QueryStatus());
    EXPECT_FALSE(MenuEntryEnabled());
}

TEST_F(ClipBar, ExitAndReopenBringTheItemsBack)
{
    SetCaret(0, 1);
    Press(40008);
    SetCaret(1, 2);
    Press(40008);
    EXPECT_EQ((std::vector<std::string>{"Def ghi", "abc"}), Items());
    HWND tips = reinterpret_cast<HWND>(SendMessageA(Toolbar(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_TRUE(IsWindow(tips));
    Press(40009);
    EXPECT_EQ(-1, SendMessageA(Rebar(), RB_IDTOINDEX, 1000, 0));
    EXPECT_FALSE(IsWindow(tips)) << "the tips outlived their band";
    EXPECT_EQ(1, QueryStatus());
    EXPECT_TRUE(MenuEntryEnabled());
    OpenClipBar();
    EXPECT_EQ((std::vector<std::string>{"Def ghi", "abc"}), Items());
    tips = reinterpret_cast<HWND>(SendMessageA(Toolbar(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_TRUE(IsWindow(tips));
    EXPECT_EQ(11, SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0));
}

TEST_F(ClipBar, HistoryViewShowsCopiesAndGivesTheSavedItemsBack)
{
    SetCaret(0, 1);
    Press(40008);
    Copy("one");
    Copy("two");
    Copy("two");
    Press(40007);
    EXPECT_EQ(TBSTATE_ENABLED | TBSTATE_CHECKED, State(40007));
    EXPECT_EQ((std::vector<std::string>{"two", "one"}), Items());
    EXPECT_TRUE(State(40002) & TBSTATE_INDETERMINATE);
    Copy("three");
    EXPECT_EQ("three", Items().at(0));
    Press(40007);
    EXPECT_EQ(TBSTATE_ENABLED, State(40007));
    EXPECT_EQ((std::vector<std::string>{"abc"}), Items());
}

TEST_F(ClipBar, EmptyHistoryIsReportedAndTheSameItemsAreShownAgain)
{
    SetCaret(0, 1);
    Press(40008);
    SetCaret(1, 1);
    Press(40008);
    ASSERT_EQ(0, SendMessageA(Combo(), CB_GETCURSEL, 0, 0));
    Press(40007);
    EXPECT_EQ("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ履歴がありません！！", StatusText());
    EXPECT_EQ(TBSTATE_ENABLED, State(40007));
    EXPECT_EQ(TBSTATE_ENABLED, State(40002));
    EXPECT_EQ((std::vector<std::string>{"Def ghi", "abc"}), Items());
    // Back in the normal view, refilled: the bottom item is chosen, as after leaving the history.
    EXPECT_EQ(1, SendMessageA(Combo(), CB_GETCURSEL, 0, 0));
}

TEST_F(ClipBar, DeleteAllAsksFirst)
{
    MessageBoxHook boxes(Host().Plugins().at(0).module);
    SetCaret(0, 1);
    Press(40008);
    boxes.QueueAnswer(IDNO);
    Press(40006);
    EXPECT_EQ(1u, Items().size());
    boxes.QueueAnswer(IDYES);
    Press(40006);
    EXPECT_TRUE(Items().empty());
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ("全ての項目を削除してもよろしいですか？", boxes.Boxes()[0].text);
    EXPECT_EQ("確認", boxes.Boxes()[0].caption);
}

TEST_F(ClipBar, HistoryKeepsThirtyTextsCutAtFiveHundredBytes)
{
    for (int i = 1; i <= 31; ++i) Copy("text" + std::to_string(i));
    // 499 single-byte characters and then ソ: the double-byte character across byte 500 goes whole.
    Copy(std::string(499, 'x') + "ソ" + std::string(99, 'y'));
    Press(40007);
    std::vector<std::string> items = Items();
    ASSERT_EQ(30u, items.size());
    EXPECT_EQ(std::string(499, 'x'), items.front());
    EXPECT_EQ("text3", items.back());
}

TEST_F(ClipBar, PrivateAndNonTextChangesAreNotRecorded)
{
    Copy("secret", "CanIncludeInClipboardHistory", 0);
    Copy("hidden", "ExcludeClipboardContentFromMonitorProcessing");
    Copy("ignored", "Clipboard Viewer Ignore");
    CopyBitmap();
    Press(40007);
    EXPECT_EQ("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ履歴がありません！！", StatusText());
    Copy("public");
    Press(40007);
    EXPECT_EQ((std::vector<std::string>{"public"}), Items());
}

} // namespace
