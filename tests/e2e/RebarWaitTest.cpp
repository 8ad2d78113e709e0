// Running the command in a host whose rebar is missing: the plug-in asks for it once and waits.
#include "fixture/HostFixture.h"
#include "support/ImportPatch.h"
#include "support/MessageBoxHook.h"
#include "host/HostProtocol.h"
#include <commctrl.h>
#include <memory>

namespace {

// The plug-in's clock, moved 250 ms on each reading so that its 5-second wait for the rebar passes
// at once. It starts just before the 32-bit tick count wraps, as a machine up for 49.7 days does.
struct FakeClock {
    static DWORD WINAPI Read()
    {
        if (reads++ == 0) return first;
        last += 250;
        return last;
    }
    static constexpr DWORD first = 0xFFFFF000u;
    static inline DWORD last = first;
    static inline int reads = 0;
};

class RebarWait : public HostFixture {
protected:
    RebarWait()
    {
        setup.loadPlugin = true;
        setup.text = "abc";
    }
    HMODULE Plugin() { return Host().Plugins().at(0).module; }
    int RebarRequests()
    {
        int count = 0;
        for (const HostLogEntry& e : LogEntries())
            if (e.message == HM_EXEC_COMMAND && e.wParam == HC_SHOW_REBAR) ++count;
        return count;
    }
};

TEST_F(RebarWait, HostThatCreatesItOnRequestGetsTheBand)
{
    Reopen([] { HostSetup s; s.loadPlugin = true; s.rebarMode = RebarMode::OnCommand; return s; }());
    ASSERT_TRUE(OpenProblems().empty()) << OpenProblems();
    MessageBoxHook boxes(Plugin());
    ASSERT_EQ(nullptr, Rebar());
    ClearLog();
    RunPluginCommand();
    EXPECT_EQ(1, RebarRequests());
    ASSERT_NE(nullptr, Rebar());
    EXPECT_NE(-1, SendMessageA(Rebar(), RB_IDTOINDEX, 1000, 0));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(MenuEntryEnabled());
}

TEST_F(RebarWait, HostWithoutRebarReportsItAfterFiveSeconds)
{
    Reopen([] { HostSetup s; s.loadPlugin = true; s.rebarMode = RebarMode::Never; return s; }());
    ASSERT_TRUE(OpenProblems().empty()) << OpenProblems();
    MessageBoxHook boxes(Plugin());
    ImportPatch clock(Plugin(), "kernel32.dll", "GetTickCount", reinterpret_cast<void*>(&FakeClock::Read));
    ASSERT_TRUE(clock.Installed());
    ClearLog();
    RunPluginCommand();
    // It looked again and again until 5000 ms had passed on its clock, across the wrap, and no longer.
    DWORD waited = FakeClock::last - FakeClock::first;
    EXPECT_GE(waited, 5000u);
    EXPECT_LT(waited, 5250u);
    EXPECT_EQ(1, RebarRequests());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("ReBarの捕捉に失敗しました！！", boxes.Boxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONHAND | MB_OK), boxes.Boxes()[0].style);
    EXPECT_EQ("Vexaro Ver1.0β", boxes.Boxes()[0].caption);
    EXPECT_EQ(Frame(), boxes.Boxes()[0].owner);
    // The command is still available.
    BOOL flag = 5;
    EXPECT_EQ(1, Host().Plugins().at(0).queryStatus(View(), &flag));
    EXPECT_EQ(0, flag);
}

TEST_F(RebarWait, SecondCommandWhileOpenBuildsAndSendsNothing)
{
    ASSERT_TRUE(OpenProblems().empty()) << OpenProblems();
    RunPluginCommand();
    int bands = static_cast<int>(SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0));
    ClearLog();
    Host().Plugins().at(0).onCommand(View());
    EXPECT_TRUE(LogEntries().empty());
    EXPECT_EQ(bands, static_cast<int>(SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0)));
}

} // namespace
