// Holding the clip list's drop-down list open (40010) and what ends or renews the hold.
#include "e2e/ClipBarFixture.h"
#include <functional>
#include <string>

namespace {

class ClipBarHold : public ClipBarFixture {
protected:
    void SetUp() override
    {
        ClipBarFixture::SetUp();
        SetCaret(0, 1);
        Press(40008);
        SetCaret(1, 1);
        Press(40008);
        ASSERT_EQ(Frame(), GetForegroundWindow());
    }
    // A click that the toolbar handles at once, with no timer tick in between.
    void ClickNow(int id)
    {
        HWND toolbar = Toolbar();
        RECT r;
        SendMessageA(toolbar, TB_GETITEMRECT, SendMessageA(toolbar, TB_COMMANDTOINDEX, id, 0), reinterpret_cast<LPARAM>(&r));
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(toolbar, WM_LBUTTONUP, 0, at);
    }
    // The hold timer has stopped: the band has no timer left to kill.
    bool TimerStopped() { return !KillTimer(BandDialog(), 1002); }
};

TEST_F(ClipBarHold, ListStaysOpenBelowTheComboUntilPressedAgain)
{
    TickCounter ticks(BandDialog());
    Press(40010);
    EXPECT_EQ("hold", Mode());
    HWND list = DropList();
    ASSERT_TRUE(IsWindowVisible(list));
    EXPECT_TRUE(PumpUntil([&] { return ticks.Ticks() >= 3; }, 2000));
    EXPECT_EQ("hold", Mode());
    EXPECT_TRUE(IsWindowVisible(list));
    RECT combo, placed;
    GetWindowRect(Combo(), &combo);
    GetWindowRect(list, &placed);
    EXPECT_EQ(combo.left, placed.left);
    EXPECT_EQ(combo.bottom, placed.top);
    Press(40010);
    EXPECT_EQ("normal", Mode());
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_TRUE(TimerStopped());
}

TEST_F(ClipBarHold, NextTickEndsTheHoldAndRestoresTheModeItCameFrom)
{
    Copy("copied");
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW, 600, 100, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(nullptr, other);
    struct Ending {
        const char* what;
        bool fromHistory;
        std::function<void()> make, undo;
    };
    const Ending endings[] = {
        {"another window in front", false, [&] { ShowWindow(other, SW_SHOW); SetForegroundWindow(other); },
         [&] { ShowWindow(other, SW_HIDE); SetForegroundWindow(Frame()); }},
        {"another window in front of the history", true,
         [&] { ShowWindow(other, SW_SHOW); SetForegroundWindow(other); },
         [&] { ShowWindow(other, SW_HIDE); SetForegroundWindow(Frame()); }},
        {"the editor moved", true,
         [&] {
             RECT r;
             GetWindowRect(Frame(), &r);
             SetWindowPos(Frame(), nullptr, r.left + 20, r.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
             RedrawWindow(Toolbar(), nullptr, nullptr, RDW_INVALIDATE);
         },
         [] {}},
        {"the toolbar hidden", false, [&] { ShowWindow(Toolbar(), SW_HIDE); }, [&] { ShowWindow(Toolbar(), SW_SHOW); }},
    };
    for (const Ending& e : endings) {
        SCOPED_TRACE(e.what);
        std::string from = e.fromHistory ? "history" : "normal";
        if (e.fromHistory) Press(40007);
        ASSERT_EQ(from, Mode());
        Press(40010);
        ASSERT_EQ(e.fromHistory ? "hold+history" : "hold", Mode());
        TickCounter ticks(BandDialog());
        e.make();
        EXPECT_TRUE(PumpUntil([&] { return Mode() == from; }, 1000)) << Mode();
        EXPECT_EQ(1, ticks.Ticks());
        EXPECT_FALSE(IsWindowVisible(DropList()));
        EXPECT_TRUE(TimerStopped());
        e.undo();
        if (e.fromHistory) Press(40007);
    }
    DestroyWindow(other);
}

TEST_F(ClipBarHold, ListHiddenBySomethingElseComesBackAtTheSecondTick)
{
    Press(40010);
    TickCounter ticks(BandDialog());
    ShowWindow(DropList(), SW_HIDE);
    // First tick: 40010 unchecked, the other buttons still greyed out, the timer still running.
    EXPECT_TRUE(PumpUntil([&] { return (State(40010) & TBSTATE_CHECKED) == 0; }, 1000));
    EXPECT_EQ(1, ticks.Ticks());
    EXPECT_EQ("--------e", Mode());
    // Second tick: the hold again, with the list shown.
    EXPECT_TRUE(PumpUntil([&] { return Mode() == "hold"; }, 1000)) << Mode();
    EXPECT_EQ(2, ticks.Ticks());
    EXPECT_TRUE(IsWindowVisible(DropList()));

    // 40010 while the list is hidden unchecks it at once; the next tick holds again.
    ShowWindow(DropList(), SW_HIDE);
    ticks.Reset();
    ClickNow(40010);
    EXPECT_EQ("--------e", Mode());
    EXPECT_TRUE(PumpUntil([&] { return Mode() == "hold"; }, 1000)) << Mode();
    EXPECT_EQ(1, ticks.Ticks());
    EXPECT_TRUE(IsWindowVisible(DropList()));

    Press(40010);
    EXPECT_EQ("normal", Mode());
    EXPECT_TRUE(TimerStopped());
}

} // namespace
