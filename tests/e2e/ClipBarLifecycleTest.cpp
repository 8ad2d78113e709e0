// The band's life: a second command while it is open, closing in every mode, a band removed
// behind its back, and the host's event that ends the saved data.
#include "e2e/ClipBarFixture.h"
#include "support/MessageBoxHook.h"
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class ClipBarLifecycle : public ClipBarFixture {};

TEST_F(ClipBarLifecycle, SecondCommandWhileOpenLeavesTheOpenBandWorking)
{
    HWND dialog = BandDialog();
    HWND toolbar = Toolbar();
    HWND combo = Combo();
    Host().Plugins().at(0).onCommand(View());
    PumpPending();
    EXPECT_EQ(toolbar, Toolbar());
    EXPECT_EQ(combo, Combo());
    SetCaret(0, 1);
    Press(40008);
    EXPECT_EQ((Texts{"abc"}), Items());
    Copy("copied");
    Press(40007);
    EXPECT_EQ((Texts{"copied"}), Items());
    Press(40007);
    Press(40010);
    EXPECT_EQ("hold", Mode());
    EXPECT_TRUE(IsWindowVisible(DropList()));
    Press(40010);
    EXPECT_EQ("normal", Mode());
    EXPECT_FALSE(KillTimer(dialog, 1002));
    Press(40009);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsWindow(toolbar));
    EXPECT_FALSE(IsWindow(combo));
    EXPECT_EQ(1, QueryStatus());
}

TEST_F(ClipBarLifecycle, ExitAfterTheBandWasRemovedReportsItAndStillCloses)
{
    MessageBoxHook boxes(Host().Plugins().at(0).module);
    SetCaret(0, 1);
    Press(40008);
    HWND dialog = BandDialog();
    HWND toolbar = Toolbar();
    ASSERT_TRUE(SendMessageA(Rebar(), RB_DELETEBAND, SendMessageA(Rebar(), RB_IDTOINDEX, 1000, 0), 0));
    // The exit button as the toolbar reports it.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(40009, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
    PumpPending();
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("バンドの破棄に失敗しました！！", boxes.Boxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONHAND | MB_OK), boxes.Boxes()[0].style);
    EXPECT_EQ("Vexaro Ver1.0β", boxes.Boxes()[0].caption);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsWindow(toolbar));
    EXPECT_EQ(1, QueryStatus());
    EXPECT_TRUE(MenuEntryEnabled());

    OpenClipBar();
    int bands = static_cast<int>(SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0));
    EXPECT_EQ(bands - 1, SendMessageA(Rebar(), RB_IDTOINDEX, 1000, 0));
    EXPECT_EQ(1000, GetDlgCtrlID(Toolbar()));
    EXPECT_NE(nullptr, Combo());
    EXPECT_EQ((Texts{"abc"}), Items());
    EXPECT_EQ("normal", Mode());
    EXPECT_EQ(0, QueryStatus());
    EXPECT_EQ(1u, boxes.Boxes().size());
}

TEST_F(ClipBarLifecycle, ClosingInEveryModeLeavesTheNextBandNormalWithTheSavedItems)
{
    SetCaret(0, 1);
    Press(40008);
    Copy("copied");
    struct Case {
        const char* what;
        std::vector<int> buttons;
        bool hostCloses; // the exit button is greyed out: the host takes its rebar down instead
    };
    const Case cases[] = {
        {"normal", {}, false},
        {"history view", {40007}, true},
        {"hold", {40010}, true},
        {"hold over the history view", {40007, 40010}, true},
        {"palette shown", {40011}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int id : c.buttons) Press(id);
        HWND dialog = BandDialog();
        HWND list = DropList();
        HWND palette = Palette();
        if (c.hostCloses) {
            DestroyWindow(Rebar());
        } else {
            Press(40009);
        }
        PumpPending();
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_FALSE(IsWindow(list));
        EXPECT_FALSE(palette != nullptr && IsWindow(palette));
        EXPECT_EQ(1, QueryStatus());

        OpenClipBar();
        EXPECT_EQ(0, QueryStatus());
        EXPECT_EQ("normal", Mode());
        EXPECT_EQ(TBSTATE_ENABLED, State(40011));
        EXPECT_EQ(nullptr, Palette());
        EXPECT_EQ((Texts{"abc"}), Items());
        EXPECT_FALSE(KillTimer(BandDialog(), 1002));
    }
    // Everything works again in the last band.
    Press(40011);
    EXPECT_NE(nullptr, Palette());
    Press(40010);
    EXPECT_EQ("hold", Mode());
}

LRESULT CALLBACK RefuseBands(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == RB_INSERTBANDA) return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(ClipBarLifecycle, FailedBuildLeavesNoWindowsAndKeepsTheSavedItems)
{
    MessageBoxHook boxes(Host().Plugins().at(0).module);
    SetCaret(0, 1);
    Press(40008);
    Press(40009);
    int bands = static_cast<int>(SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0));
    ASSERT_TRUE(SetWindowSubclass(Rebar(), RefuseBands, 1, 0));
    RunPluginCommand();
    PumpPending();
    RemoveWindowSubclass(Rebar(), RefuseBands, 1);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("バンドの追加に失敗しました！！", boxes.Boxes()[0].text);
    EXPECT_EQ(nullptr, BandDialog());
    EXPECT_EQ(bands, SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0));
    EXPECT_EQ(1, QueryStatus());
    OpenClipBar();
    EXPECT_EQ((Texts{"abc"}), Items());
    EXPECT_EQ("normal", Mode());
}

TEST_F(ClipBarLifecycle, EndOfDataEventEmptiesBothListsButNotTheShownList)
{
    SetCaret(0, 1);
    Press(40008);
    Copy("copied");
    Press(40007);
    SendEvent(0x800);
    EXPECT_EQ((Texts{"copied"}), Items());
    Press(40007);
    EXPECT_TRUE(Items().empty());
    Press(40007);
    EXPECT_EQ("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ履歴がありません！！", StatusText());
    EXPECT_EQ("normal", Mode());

    // The next close copies the list into the saved items again.
    SetCaret(1, 1);
    Press(40008);
    SendEvent(0x800);
    EXPECT_EQ((Texts{"Def ghi"}), Items());
    Press(40009);
    OpenClipBar();
    EXPECT_EQ((Texts{"Def ghi"}), Items());
}

// The user removes the plug-in with the bar open: the host frees the library at once. The bar's
// windows keep running its code, so it stays until they are gone, and then goes.
TEST_F(ClipBarLifecycle, LibraryFreedWithTheBarOpenStaysUntilTheBarIsGone)
{
    SetCaret(0, 1);
    Press(40008);
    Press(40011);
    ASSERT_NE(nullptr, Palette());
    HMODULE module = Host().Plugins().at(0).module;
    {
        RealBoxAnswerer yes(IDYES);
        ASSERT_TRUE(Host().RemovePlugin(0));
    }
    ASSERT_TRUE(LibraryMapped(module)) << "unloaded under the open bar";

    Copy("after");
    EXPECT_EQ((Texts{"after"}), HistoryView());
    HWND toolbar = Toolbar();
    HWND tip = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    RECT r;
    SendMessageA(toolbar, TB_GETITEMRECT, SendMessageA(toolbar, TB_COMMANDTOINDEX, 40008, 0), reinterpret_cast<LPARAM>(&r));
    POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    POINT onScreen = at;
    ClientToScreen(toolbar, &onScreen);
    SetCursorPos(onScreen.x, onScreen.y);
    PostMessageA(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tip) != FALSE; }, 4000)) << "no tooltip";
    char text[200] = "";
    GetWindowTextA(tip, text, sizeof text);
    EXPECT_EQ(0u, std::string(text).find("キャレット位置の1行を保存します。\r\n")) << text;
    EXPECT_TRUE(LibraryMapped(module));

    SendMessageA(Frame(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntilUnloaded(module)) << "still loaded after the bar is gone";
    // Loaded again, it starts afresh: the item saved before is not there.
    Reopen(setup);
    EXPECT_TRUE(MenuEntryEnabled());
    OpenClipBar();
    EXPECT_TRUE(Items().empty());
}

} // namespace
