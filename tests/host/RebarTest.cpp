// The host's rebar: where it sits among the frame's children, and when it exists.
#include "fixture/HostFixture.h"
#include <commctrl.h>

namespace {

class HostRebarTest : public HostFixture {
protected:
    // The way a plug-in looks for the rebar: the siblings after the view, by class.
    HWND RebarAfterView()
    {
        for (HWND w = GetWindow(View(), GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
            char name[32] = "";
            GetClassNameA(w, name, sizeof name);
            if (lstrcmpiA(name, "ReBarWindow32") == 0) return w;
        }
        return nullptr;
    }
    int ClientTop(HWND w)
    {
        RECT box;
        GetWindowRect(w, &box);
        POINT p = {box.left, box.top};
        ScreenToClient(Frame(), &p);
        return p.y;
    }
    int ClientBottom(HWND w)
    {
        RECT box;
        GetWindowRect(w, &box);
        POINT p = {box.right, box.bottom};
        ScreenToClient(Frame(), &p);
        return p.y;
    }
};

TEST_F(HostRebarTest, PresentAtStartAfterTheViewAndAboveIt)
{
    ASSERT_NE(nullptr, Rebar());
    EXPECT_EQ(Rebar(), RebarAfterView());
    EXPECT_EQ(Frame(), GetParent(Rebar()));
    EXPECT_EQ(1, SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0)) << "the host's own band";
    EXPECT_EQ(0, ClientTop(Rebar()));
    EXPECT_GT(ClientBottom(Rebar()), 0);
    EXPECT_EQ(ClientBottom(Rebar()), ClientTop(View())) << "the view is laid out below the rebar";
    EXPECT_EQ(1, SendHost(HM_EXEC_COMMAND, HC_SHOW_REBAR, 0));
    EXPECT_EQ(Rebar(), RebarAfterView()) << "no second rebar";

    HostSetup bare;
    bare.ownBand = false;
    Reopen(bare);
    ASSERT_NE(nullptr, Rebar());
    EXPECT_EQ(0, SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0));
}

TEST_F(HostRebarTest, CreatedOnCommandOnlyWhenAllowed)
{
    HostSetup onCommand;
    onCommand.rebarMode = RebarMode::OnCommand;
    Reopen(onCommand);
    EXPECT_EQ(nullptr, Rebar());
    EXPECT_EQ(nullptr, RebarAfterView());
    int viewTop = ClientTop(View());
    EXPECT_EQ(1, SendHost(HM_EXEC_COMMAND, HC_SHOW_REBAR, 0, View()));
    ASSERT_NE(nullptr, Rebar()) << "the rebar exists as soon as the message returns";
    EXPECT_EQ(Rebar(), RebarAfterView());
    EXPECT_TRUE(IsWindowVisible(Rebar()));
    EXPECT_GT(ClientTop(View()), viewTop);
    EXPECT_EQ(ClientBottom(Rebar()), ClientTop(View()));

    HostSetup never;
    never.rebarMode = RebarMode::Never;
    Reopen(never);
    EXPECT_EQ(0, SendHost(HM_EXEC_COMMAND, HC_SHOW_REBAR, 0));
    EXPECT_EQ(nullptr, Rebar());
    EXPECT_EQ(nullptr, FindWindowExA(Frame(), nullptr, "ReBarWindow32", nullptr));
    ASSERT_FALSE(LogEntries().empty());
    EXPECT_EQ(static_cast<UINT>(HM_EXEC_COMMAND), LogEntries().back().message);
}

} // namespace
