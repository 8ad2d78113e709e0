// A host with several frames in one process: the clip bar open in frame A stays A's, whichever
// frame the host names as current, and only ever takes its own band out of A's rebar.
#include "e2e/RobustFixture.h"
#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

using Texts = std::vector<std::string>;

class Frames : public RobustFixture {
protected:
    HostFrame& A() { return Host().FrameAt(0); }
    // Opens frame B, which comes to the front: the host names its view with event 0x2000.
    HostFrame& OpenB()
    {
        std::string error;
        HostFrame* b = Host().NewFrame(error);
        EXPECT_NE(nullptr, b) << error;
        PumpPending();
        return *b;
    }
    // The plug-in's menu entry chosen in `frame`.
    void RunCommandIn(HostFrame& frame)
    {
        SendMessageA(frame.Window(), WM_COMMAND, MAKEWPARAM(Host().Plugins().at(0).commandId, 0), 0);
        PumpPending();
    }
    // The children of the rebar's bands that carry our id, in band order (null: an empty band).
    static std::vector<HWND> BandsWithOurId(HWND rebar)
    {
        std::vector<HWND> children;
        int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            REBARBANDINFOA band = {};
            band.cbSize = REBARBANDINFOA_V6_SIZE;
            band.fMask = RBBIM_ID | RBBIM_CHILD;
            SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
            if (band.wID == 1000) children.push_back(band.hwndChild);
        }
        return children;
    }
    // A band with our id that is not ours (the host's or another plug-in's), at `index` (-1: last).
    static HWND InsertForeignBand(HWND rebar, int index)
    {
        HWND label = CreateWindowExA(0, "STATIC", "other", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20, rebar, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        REBARBANDINFOA band = {};
        band.cbSize = REBARBANDINFOA_V6_SIZE;
        band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
        band.hwndChild = label;
        band.cyMinChild = 20;
        band.cx = 80;
        band.wID = 1000;
        EXPECT_TRUE(SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band)));
        return label;
    }
    void SaveTwoLines()
    {
        SetCaret(0, 1);
        Press(40008);
        SetCaret(1, 1);
        Press(40008);
        ASSERT_EQ((Texts{"Def ghi", "abc"}), Items());
    }
};

TEST_F(Frames, TheBarOpenInOneFrameStaysOpenAndWholeWhenAnotherBecomesCurrent)
{
    SaveTwoLines();
    HWND toolbar = Toolbar();
    HWND dialog = BandDialog();
    HostFrame& b = OpenB();
    ASSERT_EQ(&b, Host().Current());
    const std::set<HWND> windows = ThreadWindows();

    EXPECT_EQ(0, QueryStatus());
    RunCommandIn(b);
    EXPECT_TRUE(windows == ThreadWindows()) << "the command built or destroyed windows";
    EXPECT_EQ(std::vector<HWND>{toolbar}, BandsWithOurId(A().Rebar()));
    EXPECT_TRUE(BandsWithOurId(b.Rebar()).empty());
    EXPECT_EQ(0, QueryStatus());
    RunCommandIn(A());
    EXPECT_TRUE(windows == ThreadWindows()) << "the command built or destroyed windows";

    // The exit button of A's bar, with B still current and a band of someone else's in B's rebar.
    HWND bLabel = InsertForeignBand(b.Rebar(), -1);
    Press(40009);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(BandsWithOurId(A().Rebar()).empty());
    EXPECT_EQ(std::vector<HWND>{bLabel}, BandsWithOurId(b.Rebar()));
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
    EXPECT_TRUE(LeftoverWindows().empty()) << LeftoverWindows().front();
    EXPECT_EQ(1, QueryStatus());
    EXPECT_TRUE(b.PluginEntryEnabled(0));

    RunCommandIn(b);
    std::vector<HWND> bBands = BandsWithOurId(b.Rebar());
    ASSERT_EQ(2u, bBands.size());
    EXPECT_EQ(bLabel, bBands[0]);
    EXPECT_EQ((Texts{"Def ghi", "abc"}), Items(bBands[1]));
}

TEST_F(Frames, BandsOfOthersWithOurIdAreNeverTakenOut)
{
    // Another band 1000 ahead of the bar in its own rebar.
    HWND toolbar = Toolbar();
    HWND label = InsertForeignBand(Rebar(), 0);
    ASSERT_EQ((std::vector<HWND>{label, toolbar}), BandsWithOurId(Rebar()));
    EXPECT_EQ(0, QueryStatus());

    // The host deletes the bar's band: the command is free again, and running it leaves the other band.
    int index = -1;
    for (int i = 0; i < SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0); ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = REBARBANDINFOA_V6_SIZE;
        band.fMask = RBBIM_CHILD;
        SendMessageA(Rebar(), RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
        if (band.hwndChild == toolbar) index = i;
    }
    ASSERT_TRUE(SendMessageA(Rebar(), RB_DELETEBAND, index, 0));
    EXPECT_EQ(1, QueryStatus());
    RunPluginCommand();
    std::vector<HWND> bands = BandsWithOurId(Rebar());
    ASSERT_EQ(2u, bands.size());
    EXPECT_EQ(label, bands[0]);
    EXPECT_NE(toolbar, bands[1]);

    // The new bar's exit button, as its toolbar reports it (Press would find the other band first).
    HWND dialog = BandDialog();
    ASSERT_NE(nullptr, dialog);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(40009, BN_CLICKED), reinterpret_cast<LPARAM>(bands[1]));
    PumpPending();
    EXPECT_EQ(std::vector<HWND>{label}, BandsWithOurId(Rebar()));
    EXPECT_TRUE(IsWindow(label));
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
    EXPECT_EQ(1, QueryStatus());
}

TEST_F(Frames, ClosingTheFrameWithTheBarKeepsTheItemsForAnotherFrame)
{
    SaveTwoLines();
    HWND frameA = A().Window();
    HostFrame& b = OpenB();
    Host().CloseFrame(Host().FrameAt(0));
    PumpPending();
    EXPECT_FALSE(IsWindow(frameA));
    ASSERT_EQ(1u, Host().FrameCount());
    ASSERT_EQ(&b, &Host().FrameAt(0));
    EXPECT_EQ(&b, Host().Current());
    ASSERT_EQ(1u, Host().Plugins().size()) << "the plug-in stays loaded";
    EXPECT_TRUE(LeftoverWindows().empty()) << LeftoverWindows().front();
    EXPECT_EQ(1, QueryStatus());

    RunCommandIn(b);
    EXPECT_EQ(1u, BandsWithOurId(b.Rebar()).size());
    EXPECT_EQ((Texts{"Def ghi", "abc"}), Items());
    EXPECT_EQ(0, QueryStatus());
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
}

TEST_F(Frames, TheBarCapturesFromAndInsertsIntoItsOwnFrameWhileAnotherIsCurrent)
{
    SaveTwoLines();
    HostFrame& b = OpenB();
    ASSERT_EQ(&b, Host().Current());
    const std::string aText = Text();
    const std::string bText = b.Edit().Text();
    ClearLog();
    SetCaret(3, 2);
    Press(40003);                 // A's caret to its line end
    EXPECT_EQ("タカナ", Items().at(0));
    // The palette, to full width: the insertion below converts. Its settings file stays as it was.
    const std::string iniPath = DefaultPluginPath().substr(0, DefaultPluginPath().size() - 3) + "ini";
    std::ifstream oldIni(iniPath, std::ios::binary);
    const bool hadIni = oldIni.good();
    const std::string savedIni((std::istreambuf_iterator<char>(oldIni)), std::istreambuf_iterator<char>());
    oldIni.close();
    Press(40011);
    ASSERT_NE(nullptr, Palette());
    SendDlgItemMessageA(Palette(), 1005, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(Palette(), 1012, BM_SETCHECK, BST_CHECKED, 0);
    SetCaret(0, 0);
    Choose(2);                    // "abc"
    Press(40011);
    if (hadIni) {
        std::ofstream(iniPath, std::ios::binary) << savedIni;
    } else {
        DeleteFileA(iniPath.c_str());
    }
    EXPECT_EQ(A().View(), GetFocus());
    Press(40009);
    EXPECT_EQ(bText, b.Edit().Text());
    EXPECT_NE(aText, Text());
    auto inserted = std::find_if(LogEntries().begin(), LogEntries().end(),
                                 [](const HostLogEntry& e) { return e.message == 2080; });
    ASSERT_NE(LogEntries().end(), inserted);
    EXPECT_EQ("abc", inserted->text);
    for (const HostLogEntry& entry : LogEntries()) {
        EXPECT_TRUE(entry.receiver == A().Window() || entry.receiver == A().View())
            << "host message " << entry.message << " went to frame B";
    }
}

TEST_F(Frames, AHeldListEndsWhenTheUserSwitchesToAnotherFrame)
{
    SaveTwoLines();
    Press(40010);
    ASSERT_EQ("hold", Mode());
    OpenB(); // comes to the front and becomes the host's current frame
    EXPECT_TRUE(PumpUntil([&] { return Mode() == "normal"; }, 1000)) << Mode();
    EXPECT_FALSE(IsWindowVisible(DropList()));
}

} // namespace
