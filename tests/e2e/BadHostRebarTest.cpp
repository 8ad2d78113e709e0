// The host takes the clip bar away behind the plug-in's back, in every mode of the band: it
// destroys its rebar, deletes the band from it, or destroys the band's dialog. Afterwards no
// window of the band is left, the command can be run again, and the new band shows the items the
// user had saved, in the normal mode. (A host without any rebar: RebarWaitTest.)
#include "e2e/RobustFixture.h"

namespace {

enum class BandMode { Normal, History, Hold, HoldOverHistory, Palette };
enum class Removal { DestroyRebar, DeleteBand, DestroyDialog };

const struct {
    const char* what;
    BandMode mode;
} kModes[] = {
    {"normal", BandMode::Normal},
    {"history view", BandMode::History},
    {"hold", BandMode::Hold},
    {"hold over the history view", BandMode::HoldOverHistory},
    {"palette open", BandMode::Palette},
};

const struct {
    const char* what;
    Removal removal;
} kRemovals[] = {
    {"rebar destroyed", Removal::DestroyRebar},
    {"band deleted", Removal::DeleteBand},
    {"band dialog destroyed", Removal::DestroyDialog},
};

class BandTakenAway : public RobustFixture {
protected:
    void Enter(BandMode mode)
    {
        if (mode == BandMode::History || mode == BandMode::HoldOverHistory) Press(40007);
        if (mode == BandMode::Hold || mode == BandMode::HoldOverHistory) Press(40010);
        if (mode == BandMode::Palette) Press(40011);
    }
    void TakeAway(Removal removal, BandMode mode)
    {
        switch (removal) {
        case Removal::DestroyRebar: DestroyWindow(Rebar()); break;
        case Removal::DeleteBand:
            SendMessageA(Rebar(), RB_DELETEBAND, SendMessageA(Rebar(), RB_IDTOINDEX, 1000, 0), 0);
            break;
        case Removal::DestroyDialog: DestroyWindow(BandDialog()); break;
        }
        // A band deleted from the rebar keeps its dialog, and so the hold timer: let it tick (its
        // first tick sees the toolbar hidden and ends the hold).
        if (removal == Removal::DeleteBand && (mode == BandMode::Hold || mode == BandMode::HoldOverHistory)) {
            TickCounter ticks(BandDialog());
            EXPECT_TRUE(PumpUntil([&] { return ticks.Ticks() >= 1; }, 2000));
        }
        PumpPending();
    }
    int BandsWithOurId()
    {
        int count = 0;
        int bands = static_cast<int>(SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0));
        for (int i = 0; i < bands; ++i) {
            REBARBANDINFOA band = {};
            band.cbSize = REBARBANDINFOA_V6_SIZE;
            band.fMask = RBBIM_ID;
            SendMessageA(Rebar(), RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
            if (band.wID == 1000) ++count;
        }
        return count;
    }
    // What the host does when the user opens its plug-in menu: it asks QueryStatus again.
    void OpenPluginMenu()
    {
        HMENU menu = GetSubMenu(GetMenu(Frame()), 2);
        SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 2);
    }
};

TEST_F(BandTakenAway, InEveryModeTheCommandComesBackWithTheSavedItems)
{
    SetCaret(0, 1);
    Press(40008);
    SetCaret(1, 1);
    Press(40008);
    CopyText("copied");
    const std::vector<std::string> saved = {"Def ghi", "abc"};
    for (const auto& removal : kRemovals) {
        for (const auto& mode : kModes) {
            SCOPED_TRACE(std::string(removal.what) + ", " + mode.what);
            ASSERT_EQ(saved, Items());
            Enter(mode.mode);
            TakeAway(removal.removal, mode.mode);
            OpenPluginMenu();
            EXPECT_EQ(1, QueryStatus());
            EXPECT_TRUE(MenuEntryEnabled());
            // A deleted band leaves its dialog, and so the palette, until the command runs again.
            EXPECT_EQ(removal.removal == Removal::DeleteBand && mode.mode == BandMode::Palette, Palette() != nullptr);
            OpenClipBar();
            ASSERT_NE(nullptr, Toolbar());
            EXPECT_EQ(1, BandsWithOurId());
            EXPECT_EQ(saved, Items());
            for (int id : {40002, 40003, 40004, 40008, 40005, 40006, 40009, 40007, 40010, 40011}) {
                EXPECT_EQ(TBSTATE_ENABLED, State(id)) << id;
            }
            EXPECT_EQ(0, QueryStatus());
        }
    }
    Press(40009);
    EXPECT_TRUE(LeftoverWindows().empty()) << LeftoverWindows().front();
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
}

} // namespace
