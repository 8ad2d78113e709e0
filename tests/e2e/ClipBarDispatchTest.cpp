// The clip bar's commands: what each one does, and that all but exit first clear the status bar.
#include "e2e/ClipBarFixture.h"
#include "support/MessageBoxHook.h"
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class ClipBarDispatch : public ClipBarFixture {
protected:
    // Presses `id` with a text in the host's status bar and answers what the bar shows then.
    std::string PressOverStatus(int id)
    {
        Host().SetStatusText("busy");
        Press(id);
        return StatusText();
    }
};

TEST_F(ClipBarDispatch, EveryCommandDoesItsJobAndAllButExitClearTheStatusBar)
{
    MessageBoxHook boxes(Host().Plugins().at(0).module);
    Copy("clip");
    SetCaret(1, 3);
    EXPECT_EQ("", PressOverStatus(40002));
    EXPECT_EQ("", PressOverStatus(40003));
    Select({1, 4}, {1, 7});
    EXPECT_EQ("", PressOverStatus(40004));
    SetCaret(3, 2);
    EXPECT_EQ("", PressOverStatus(40008));
    EXPECT_EQ((Texts{"カタカナ", "ghi", " ghi", "Def"}), Items());

    EXPECT_EQ("", PressOverStatus(40007));
    EXPECT_EQ("history", Mode());
    EXPECT_EQ((Texts{"clip"}), Items());
    EXPECT_EQ("", PressOverStatus(40007));
    EXPECT_EQ("normal", Mode());
    EXPECT_EQ("", PressOverStatus(40010));
    EXPECT_EQ("hold", Mode());
    EXPECT_TRUE(IsWindowVisible(DropList()));
    EXPECT_EQ("", PressOverStatus(40010));
    EXPECT_EQ("normal", Mode());
    EXPECT_EQ("", PressOverStatus(40011));
    EXPECT_EQ(TBSTATE_ENABLED | TBSTATE_CHECKED, State(40011));
    EXPECT_NE(nullptr, Palette());
    EXPECT_EQ("", PressOverStatus(40011));
    EXPECT_EQ(TBSTATE_ENABLED, State(40011));
    EXPECT_EQ(nullptr, Palette());

    // Deleting the chosen item asks first and obeys the answer.
    SendMessageA(Combo(), CB_SETCURSEL, 1, 0);
    boxes.QueueAnswer(IDNO);
    EXPECT_EQ("", PressOverStatus(40005));
    EXPECT_EQ(4u, Items().size());
    boxes.QueueAnswer(IDYES);
    EXPECT_EQ("", PressOverStatus(40005));
    EXPECT_EQ((Texts{"カタカナ", " ghi", "Def"}), Items());
    EXPECT_EQ("", PressOverStatus(40006)); // answered No
    EXPECT_EQ(3u, Items().size());
    ASSERT_EQ(3u, boxes.Boxes().size());
    EXPECT_EQ("選択項目を削除してもよろしいですか？", boxes.Boxes()[0].text);
    EXPECT_EQ("確認", boxes.Boxes()[0].caption);
    EXPECT_EQ("選択項目を削除してもよろしいですか？", boxes.Boxes()[1].text);
    EXPECT_EQ("全ての項目を削除してもよろしいですか？", boxes.Boxes()[2].text);

    // Choosing an item inserts it at the caret.
    Host().SetStatusText("busy");
    Choose(2);
    EXPECT_EQ("", StatusText());
    EXPECT_EQ("abc\r\nDef ghi\r\n\r\nカDefタカナ", Text());

    EXPECT_EQ("busy", PressOverStatus(40009));
    EXPECT_EQ(1, QueryStatus());
}

TEST_F(ClipBarDispatch, CommandsWithNothingToDoChangeNothing)
{
    // 40010 on an empty list: no hold, no timer.
    Press(40010);
    EXPECT_EQ("normal", Mode());
    EXPECT_FALSE(IsWindowVisible(DropList()));
    EXPECT_FALSE(KillTimer(BandDialog(), 1002));

    // The hidden 40001, an unknown id and a combo box notification other than a selection change.
    SetCaret(0, 1);
    Press(40008);
    Host().SetStatusText("busy");
    ClearLog();
    SendMessageA(BandDialog(), WM_COMMAND, 40001, reinterpret_cast<LPARAM>(Toolbar()));
    SendMessageA(BandDialog(), WM_COMMAND, 40012, reinterpret_cast<LPARAM>(Toolbar()));
    SendMessageA(BandDialog(), WM_COMMAND, MAKEWPARAM(1001, CBN_DROPDOWN), reinterpret_cast<LPARAM>(Combo()));
    PumpPending();
    EXPECT_TRUE(LogEntries().empty());
    EXPECT_EQ("busy", StatusText());
    EXPECT_EQ((Texts{"abc"}), Items());
    EXPECT_EQ("normal", Mode());
    EXPECT_EQ("abc\r\nDef ghi\r\n\r\nカタカナ", Text());
}

TEST_F(ClipBarDispatch, ChoosingNudgesThePointerLeftThenRightEvenWhenInsertionFails)
{
    MessageBoxHook boxes(Host().Plugins().at(0).module);
    SetCaret(0, 1);
    Press(40008);
    ASSERT_TRUE(SetCursorPos(300, 200));
    const int expectedX[] = {297, 300, 297, 300};
    for (int i = 0; i < 4; ++i) {
        // The last two choices find no chosen item: the insertion fails with a message.
        Choose(i < 2 ? 0 : -1);
        POINT at;
        ASSERT_TRUE(GetCursorPos(&at));
        EXPECT_EQ(expectedX[i], at.x) << i;
        EXPECT_EQ(200, at.y) << i;
    }
    EXPECT_EQ("aabcabcbc\r\nDef ghi\r\n\r\nカタカナ", Text());
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ("選択項目の取得に失敗しました！！", boxes.Boxes()[1].text);
}

} // namespace
