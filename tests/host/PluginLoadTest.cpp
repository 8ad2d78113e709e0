// Loading the real plug-in library: entry points, events, menu entry, status text, exit.
#include "fixture/HostFixture.h"
#include "fixture/MessageSequence.h"
#include "support/Pump.h"
#include <commctrl.h>

namespace {

class PluginLoad : public HostFixture {
protected:
    void SetUp() override
    {
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(DefaultPluginPath().c_str()))
            << "Vexaro.dll is not built beside the test program";
        setup.loadPlugin = true;
        HostFixture::SetUp();
    }

    HMENU PluginMenu()
    {
        HMENU bar = GetMenu(Frame());
        return GetSubMenu(bar, GetMenuItemCount(bar) - 1);
    }
};

TEST_F(PluginLoad, MenuEntryEventsAndStatusText)
{
    ASSERT_EQ(1u, Host().Plugins().size()) << OpenProblems();
    const LoadedPlugin& plugin = Host().Plugins()[0];
    EXPECT_EQ(kFirstPluginCommand, plugin.commandId);

    char text[64] = "";
    GetMenuStringA(PluginMenu(), plugin.commandId, text, sizeof text, MF_BYCOMMAND);
    // The plug-in's text, and the host's shortcut for its first command.
    EXPECT_STREQ("クリップツール(&C)\tCtrl+1", text);
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    ASSERT_TRUE(GetMenuItemInfoA(PluginMenu(), plugin.commandId, FALSE, &item));
    EXPECT_NE(nullptr, item.hbmpItem) << "the plug-in's picture";
    EXPECT_TRUE(MenuEntryEnabled());

    // Event 0x40 made the plug-in ask for a refresh through the view, with the command id of 0x400.
    EXPECT_TRUE(MatchesSequence(LogEntries(), {{HM_REFRESH_STATUS, kFirstPluginCommand, 0, SEQ_WPARAM, nullptr}}));
    ASSERT_FALSE(LogEntries().empty());
    EXPECT_EQ(View(), LogEntries()[0].receiver);

    SendHost(HM_SET_STATUS_TEXT, 0, reinterpret_cast<LPARAM>("前の表示"));
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(plugin.commandId, MF_STRING), reinterpret_cast<LPARAM>(PluginMenu()));
    EXPECT_EQ("文章中の単語や行文字列の一時保存・貼り付け。", StatusText());
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("前の表示", StatusText());
}

TEST_F(PluginLoad, CommandAddsTheBandAndGreysTheEntry)
{
    ClearLog();
    RunPluginCommand();
    EXPECT_FALSE(MenuEntryEnabled()) << "QueryStatus answers 0 while the band is open";
    EXPECT_GE(SendMessageA(Rebar(), RB_IDTOINDEX, 1000, 0), 1) << "appended behind the host's own band";
    EXPECT_TRUE(MatchesSequence(LogEntries(), {{HM_REFRESH_STATUS, kFirstPluginCommand, 0, SEQ_WPARAM, nullptr}},
                                {HM_REFRESH_STATUS}));
    // TearDown closes the host with the band open: its windows go while the library is loaded.
}

} // namespace
