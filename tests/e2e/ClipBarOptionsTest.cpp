// The bar's settings menu and what it turns on: the clip list from the keyboard, and the switch
// that stops the clipboard history. Both are off the way the bar has always worked.
#include "e2e/OptionsFixture.h"
#include "support/ImportPatch.h"

namespace {

// The host's shortcuts (Ctrl+1 for the first plug-in command) in whatever loop takes the keys,
// as an editor's accelerators are.
class HostShortcuts {
public:
    explicit HostShortcuts(HostApp& app) : hook(SetWindowsHookExA(WH_GETMESSAGE, Take, nullptr, GetCurrentThreadId())) { host = &app; }
    ~HostShortcuts() { UnhookWindowsHookEx(hook); }
    HostShortcuts(const HostShortcuts&) = delete;
    HostShortcuts& operator=(const HostShortcuts&) = delete;

private:
    static LRESULT CALLBACK Take(int code, WPARAM removed, LPARAM lParam)
    {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (code == HC_ACTION && removed == PM_REMOVE && host->TranslateShortcut(*msg)) msg->message = WM_NULL;
        return CallNextHookEx(nullptr, code, removed, lParam);
    }
    static inline HostApp* host = nullptr;
    HHOOK hook;
};

const char kDefaults[] = "コマンドでクリップリストを開く(&K)=0;クリップボードの履歴を記録する(&H)=1;クリップリストの項目を次回も使う(&S)=0;";

class ClipBarOptions : public OptionsFixture {
protected:
    ClipBarOptions() { setup.text = "one\r\ntwo\r\nthree"; }
    BOOL FrameStatus(HWND view, BOOL* flag) { return Host().Plugins().at(0).queryStatus(view, flag); }
    bool Dropped() { return SendMessageA(Combo(), CB_GETDROPPEDSTATE, 0, 0) != 0; }
    LRESULT Chosen() { return SendMessageA(Combo(), CB_GETCURSEL, 0, 0); }
};

TEST_F(ClipBarOptions, TheMenuShowsAndKeepsEachChoiceAndTheListsKeysOpenItToo)
{
    EXPECT_EQ(kDefaults, RightClickMenu('K'));
    EXPECT_EQ("1", ReadSetting("ClipList_KeyAccess"));
    // The bar's frame may run the command again, and shows the bar as open; another frame may not.
    BOOL flag = 0;
    EXPECT_EQ(1, FrameStatus(View(), &flag));
    EXPECT_EQ(1, flag);
    UINT state = GetMenuState(GetMenu(Frame()), kFirstPluginCommand, MF_BYCOMMAND);
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), state & (MF_CHECKED | MF_GRAYED)) << state;
    std::string error;
    HostFrame* other = Host().NewFrame(error);
    ASSERT_NE(nullptr, other) << error;
    EXPECT_EQ(0, FrameStatus(other->View(), &flag));
    EXPECT_EQ(0, flag);
    Host().Activate(Host().FrameAt(0));
    PumpPending();

    // Shift+F10 and the context-menu key, while the list has the keyboard.
    SetFocus(Combo());
    {
        NextMenu menu(0);
        PressKeyWhereFocused(VK_F10, {VK_SHIFT});
        EXPECT_TRUE(PumpUntil([] { return !NextMenu::shown.empty(); }, 3000));
    }
    EXPECT_EQ("コマンドでクリップリストを開く(&K)=1;クリップボードの履歴を記録する(&H)=1;クリップリストの項目を次回も使う(&S)=0;", NextMenu::shown);
    SetFocus(Combo());
    {
        NextMenu menu('K');
        PressKeyWhereFocused(VK_APPS);
        EXPECT_TRUE(PumpUntil([] { return !NextMenu::shown.empty(); }, 3000));
        PumpPending();
    }
    EXPECT_EQ("0", ReadSetting("ClipList_KeyAccess"));
    EXPECT_EQ(0, FrameStatus(View(), &flag));
}

TEST_F(ClipBarOptions, TheCommandDropsTheListWhereOnlyEnterInsertsAndEscInsertsNothing)
{
    WriteSetting("ClipList_KeyAccess", "1");
    Press(40009);
    OpenClipBar();
    SetCaret(0, 0);
    Press(40008);
    SetCaret(1, 0);
    Press(40008);
    ASSERT_EQ((std::vector<std::string>{"two", "one"}), Items());
    SetCaret(2, 0);
    const std::string before = Text();
    HostShortcuts shortcuts(Host());

    PressKeyWhereFocused('1', {VK_CONTROL});
    EXPECT_TRUE(Dropped());
    EXPECT_EQ(Combo(), GetFocus());
    PressKeyWhereFocused('T');
    PressKeyWhereFocused(VK_DOWN);
    EXPECT_EQ(before, Text()) << "a new highlight inserts nothing";
    PressKeyWhereFocused(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return Text() != before; }, 2000));
    EXPECT_EQ(View(), GetFocus());
    EXPECT_FALSE(Dropped());
    const std::string once = Text();
    EXPECT_EQ(1, Chosen());
    EXPECT_EQ(before.size() + 3, once.size()) << once;

    // Esc, and the command again, close the list without inserting; the choice is as it was.
    for (bool esc : {true, false}) {
        PressKeyWhereFocused('1', {VK_CONTROL});
        ASSERT_TRUE(Dropped());
        PressKeyWhereFocused(VK_UP);
        // The dropped list holds the mouse capture, while which no accelerator runs (on Windows
        // as under Wine): the command comes by the host's other ways then.
        if (esc) {
            PressKeyWhereFocused(VK_ESCAPE);
        } else {
            RunPluginCommand();
        }
        PumpFor(100);
        EXPECT_EQ(once, Text());
        EXPECT_FALSE(Dropped());
        EXPECT_EQ(1, Chosen());
        EXPECT_EQ(View(), GetFocus());
    }

    // A bar closed while its list is dropped from the keyboard: the next bar's list inserts on a
    // click again.
    PressKeyWhereFocused('1', {VK_CONTROL});
    ASSERT_TRUE(Dropped());
    PostMessageA(BandDialog(), WM_COMMAND, 40009, 0);
    PumpFor(100);
    OpenClipBar();
    Choose(0);
    EXPECT_EQ(once.size() + 3, Text().size()) << Text();
}

// Counts the plug-in's opening of the clipboard, which every read of it needs.
class ClipboardOpens {
public:
    explicit ClipboardOpens(HMODULE plugin) : patch(plugin, "user32.dll", "OpenClipboard", reinterpret_cast<void*>(&Open))
    {
        original = patch.Original();
        count = 0;
    }
    bool Installed() const { return patch.Installed(); }
    static inline int count = 0;

private:
    static BOOL WINAPI Open(HWND window)
    {
        ++count;
        return reinterpret_cast<decltype(&OpenClipboard)>(original)(window);
    }
    ImportPatch patch;
    static inline void* original = nullptr;
};

TEST_F(ClipBarOptions, WithTheHistoryOffNothingOfTheClipboardIsReadUntilItIsOnAgain)
{
    Copy("kept");
    EXPECT_EQ(kDefaults, RightClickMenu('H'));
    EXPECT_EQ("0", ReadSetting("ClipHistory_Record"));
    ClipboardOpens opens(Host().Plugins().at(0).module);
    ASSERT_TRUE(opens.Installed());
    ClipboardNotices notices;
    auto copyUnwatched = [&](const char* text) {
        PutOnClipboard(text);
        PumpFor(150);
    };
    copyUnwatched("secret");
    // Off across a new bar, too.
    Press(40009);
    OpenClipBar();
    copyUnwatched("password");
    EXPECT_EQ(0, ClipboardOpens::count);
    EXPECT_EQ(0, notices.To(BandDialog()));
    EXPECT_EQ(std::vector<std::string>{"kept"}, HistoryView());

    // On again: from the next copy on; what was copied meanwhile stays out.
    RightClickMenu('H');
    EXPECT_EQ("1", ReadSetting("ClipHistory_Record"));
    Copy("later");
    EXPECT_EQ((std::vector<std::string>{"later", "kept"}), HistoryView());
}

} // namespace
