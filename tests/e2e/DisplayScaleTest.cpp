// The clip bar at the display's scale. ctest runs these at 96 DPI with the other end-to-end tests
// and again at 144 and 192 DPI (scale_144, scale_192), each in a Wine prefix whose display has
// that scale. The sample host is per-monitor DPI aware, so nothing is scaled for the plug-in.
#include "e2e/ClipBarFixture.h"
#include "support/ImportPatch.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace {

UINT ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

// The scale this run was given (VEXARO_DPI picks the prefix and reaches the program too): a
// prefix whose scale did not reach the process would quietly repeat the 96-DPI run.
UINT GivenDpi()
{
    const char* given = getenv("VEXARO_DPI");
    return given != nullptr && given[0] != '\0' ? static_cast<UINT>(atoi(given)) : 96;
}

// The pictures drawn for each scale the suite runs at.
SIZE ExpectedPictures(UINT dpi)
{
    switch (dpi) {
    case 96: return {16, 15};
    case 144: return {24, 24};
    case 192: return {32, 32};
    default: return {0, 0};
    }
}

RECT ScreenRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// GetDpiForWindow as the plug-in finds it (by name, at run time) answers `fakeDpi` while this lives.
class FakeWindowDpi {
public:
    FakeWindowDpi(HMODULE plugin, UINT dpi)
        : patch(plugin, "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&Lookup))
    {
        fakeDpi = dpi;
        original = patch.Original();
    }
    bool Installed() const { return patch.Installed(); }

private:
    static UINT WINAPI Dpi(HWND) { return fakeDpi; }
    static FARPROC WINAPI Lookup(HMODULE module, LPCSTR name)
    {
        if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0 && strcmp(name, "GetDpiForWindow") == 0)
            return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Dpi));
        return reinterpret_cast<FARPROC(WINAPI*)(HMODULE, LPCSTR)>(original)(module, name);
    }
    ImportPatch patch;
    static inline UINT fakeDpi = 96;
    static inline void* original = nullptr;
};

// Every call that sets a toolbar's pictures, to any toolbar of this thread, in order: the control
// takes a picture size only before its first pictures, and an image list only where it was never
// given a bitmap strip (TB_ADDBITMAP, as CreateToolbarEx gives one).
class ToolbarPictureCalls {
public:
    ToolbarPictureCalls() : hook(SetWindowsHookExA(WH_CALLWNDPROC, Seen, nullptr, GetCurrentThreadId())) { calls.clear(); }
    ~ToolbarPictureCalls() { UnhookWindowsHookEx(hook); }
    ToolbarPictureCalls(const ToolbarPictureCalls&) = delete;
    ToolbarPictureCalls& operator=(const ToolbarPictureCalls&) = delete;
    // The calls a toolbar took against those rules, with all of that toolbar's picture calls.
    std::string Unsupported() const
    {
        std::string problems;
        std::vector<HWND> done;
        for (const auto& first : calls) {
            if (std::find(done.begin(), done.end(), first.first) != done.end()) continue;
            done.push_back(first.first);
            bool strip = false, buttons = false, wrong = false;
            std::string order;
            for (const auto& call : calls) {
                if (call.first != first.first) continue;
                UINT m = call.second;
                order += Name(m) + std::string(" ");
                if ((m == TB_SETIMAGELIST && strip) || (m == TB_SETBITMAPSIZE && (strip || buttons))) wrong = true;
                if (m == TB_ADDBITMAP) strip = true;
                if (m != TB_SETIMAGELIST && m != TB_SETBITMAPSIZE && m != TB_ADDBITMAP) buttons = true;
            }
            if (wrong) problems += "a toolbar took: " + order + "; ";
        }
        return problems;
    }

private:
    static const char* Name(UINT m)
    {
        switch (m) {
        case TB_SETIMAGELIST: return "SETIMAGELIST";
        case TB_SETBITMAPSIZE: return "SETBITMAPSIZE";
        case TB_ADDBITMAP: return "ADDBITMAP";
        default: return "BUTTONS";
        }
    }
    static LRESULT CALLBACK Seen(int code, WPARAM, LPARAM lParam)
    {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        UINT m = sent->message;
        if (code == HC_ACTION && (m == TB_SETIMAGELIST || m == TB_SETBITMAPSIZE || m == TB_ADDBITMAP || m == TB_ADDBUTTONSA ||
                                  m == TB_ADDBUTTONSW || m == TB_INSERTBUTTONA || m == TB_INSERTBUTTONW)) {
            char name[32] = "";
            GetClassNameA(sent->hwnd, name, sizeof name);
            if (strcmp(name, TOOLBARCLASSNAMEA) == 0) calls.emplace_back(sent->hwnd, m);
        }
        return CallNextHookEx(nullptr, code, 0, lParam);
    }
    static inline std::vector<std::pair<HWND, UINT>> calls;
    HHOOK hook;
};

class DisplayScale : public ClipBarFixture {
protected:
    // The frame, at `frame` for `from` DPI, told that its display now has `to` DPI, with the
    // place the system suggests for it.
    void TellFrame(const RECT& frame, UINT from, UINT to)
    {
        RECT place = {frame.left, frame.top, frame.left + MulDiv(frame.right - frame.left, static_cast<int>(to), static_cast<int>(from)),
                      frame.top + MulDiv(frame.bottom - frame.top, static_cast<int>(to), static_cast<int>(from))};
        SendMessageA(Frame(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&place));
    }
    void BeforeOpeningTheBar() override { pictureCalls = std::make_unique<ToolbarPictureCalls>(); }
    std::unique_ptr<ToolbarPictureCalls> pictureCalls;

    // What the user sees of the bar's layout at the scale `dpi`; empty when all is well.
    std::string LayoutProblems(UINT dpi)
    {
        std::string problems;
        HWND toolbar = Toolbar();
        HWND combo = Combo();
        int index = static_cast<int>(SendMessageA(Rebar(), RB_IDTOINDEX, 1000, 0));
        RECT band = {};
        SendMessageA(Rebar(), RB_GETRECT, index, reinterpret_cast<LPARAM>(&band));
        MapWindowPoints(Rebar(), nullptr, reinterpret_cast<POINT*>(&band), 2);
        RECT bar = ScreenRect(toolbar);
        RECT list = ScreenRect(combo);
        if (!Inside(bar, band)) problems += "toolbar " + Describe(bar) + " outside its band " + Describe(band) + "; ";
        if (!Inside(list, bar)) problems += "list " + Describe(list) + " outside the toolbar " + Describe(bar) + " (frame " + Describe(ScreenRect(Frame())) + ", rebar " + Describe(ScreenRect(Rebar())) + "); ";
        int buttons = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
        RECT last = {};
        SendMessageA(toolbar, TB_GETITEMRECT, buttons - 1, reinterpret_cast<LPARAM>(&last));
        MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&last), 2);
        if (list.left != last.right) {
            problems += "list starts at " + std::to_string(list.left) + ", the last button ends at " +
                        std::to_string(last.right) + "; ";
        }
        for (int i = 0; i < buttons; ++i) {
            RECT button = {};
            SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&button));
            MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
            RECT overlap;
            if (IntersectRect(&overlap, &button, &list)) problems += "button " + std::to_string(i) + " under the list; ";
            if (button.bottom > bar.bottom) problems += "button " + std::to_string(i) + " cut off; ";
        }
        HDC dc = GetDC(combo);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(combo, WM_GETFONT, 0, 0)));
        TEXTMETRICA text = {};
        GetTextMetricsA(dc, &text);
        SelectObject(dc, old);
        ReleaseDC(combo, dc);
        int row = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
        if (row < text.tmHeight) problems += "rows " + std::to_string(row) + " for text " + std::to_string(text.tmHeight) + "; ";
        // The default GUI font, as tall as the band's scale asks (the stock one is made for the
        // system's scale, and is the list's own font there).
        HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        dc = GetDC(nullptr);
        old = SelectObject(dc, stock);
        TEXTMETRICA system = {};
        GetTextMetricsA(dc, &system);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        int wanted = MulDiv(system.tmHeight, static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(combo, WM_GETFONT, 0, 0));
        if (abs(text.tmHeight - wanted) > 1 + wanted / 10 || (dpi == ScreenDpi()) != (font == stock))
            problems += "list text " + std::to_string(text.tmHeight) + " high, " + std::to_string(wanted) + " wanted; ";

        SIZE expected = ExpectedPictures(dpi);
        int width = 0, height = 0;
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0)), &width, &height);
        if (width != expected.cx || height != expected.cy)
            problems += "toolbar pictures " + std::to_string(width) + "x" + std::to_string(height) + "; ";
        REBARINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = RBIM_IMAGELIST;
        SendMessageA(Rebar(), RB_GETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
        ImageList_GetIconSize(info.himl, &width, &height);
        if (width != expected.cx || height != expected.cx)
            problems += "band picture " + std::to_string(width) + "x" + std::to_string(height) + "; ";
        return problems;
    }
};

TEST_F(DisplayScale, NothingIsCutOffOrOverlapsAndThePicturesAreTheScalesOwn)
{
    UINT dpi = ScreenDpi();
    ASSERT_EQ(GivenDpi(), dpi) << "the display's scale is not the one this run was given";
    ASSERT_NE(0, ExpectedPictures(dpi).cx) << "no expectations for " << dpi << " DPI";
    RecordProperty("dpi", static_cast<int>(dpi));
    EXPECT_EQ("", LayoutProblems(dpi)) << "at " << dpi << " DPI";
    // A saved item resizes the list: the layout holds.
    SetCaret(0, 1);
    Press(40008);
    EXPECT_EQ("", LayoutProblems(dpi)) << "with an item, at " << dpi << " DPI";
    EXPECT_EQ("", pictureCalls->Unsupported()) << "at " << dpi << " DPI";
}

TEST_F(DisplayScale, AMonitorOfAnotherScaleLaysTheBarOutAgain)
{
    UINT dpi = ScreenDpi();
    ASSERT_EQ(GivenDpi(), dpi) << "the display's scale is not the one this run was given";
    // The history view, chosen on its second item: what the user sees must survive the move.
    SetCaret(0, 1);
    Press(40008);
    Copy("one");
    Copy("two");
    Press(40007);
    SendMessageA(Combo(), CB_SETCURSEL, 1, 0);
    const std::vector<std::string> items = Items();
    auto states = [&] {
        std::string all;
        for (int id = 40001; id <= 40011; ++id) all += std::to_string(State(id)) + " ";
        return all;
    };
    const std::string buttons = states();
    const std::string before = LayoutProblems(dpi);
    RECT list = ScreenRect(Combo());
    UINT other = dpi == 192 ? 96 : 192;
    const RECT frame = ScreenRect(Frame());
    // What the system does as the frame moves to the other display: the frame told its new scale
    // and a place, then its children.
    auto moveTo = [&](UINT to) {
        TellFrame(frame, dpi, to);
        SendMessageA(BandDialog(), WM_DPICHANGED_AFTERPARENT, 0, 0);
    };
    {
        FakeWindowDpi fake(Host().Plugins().at(0).module, other);
        ASSERT_TRUE(fake.Installed());
        moveTo(other);
        PumpPending();
        EXPECT_EQ("", LayoutProblems(other)) << "moved to " << other << " DPI";
        RECT moved = ScreenRect(Combo());
        EXPECT_EQ(MulDiv(200, static_cast<int>(other), 96), moved.right - moved.left);
        EXPECT_EQ(items, Items());
        EXPECT_EQ(1, SendMessageA(Combo(), CB_GETCURSEL, 0, 0));
        EXPECT_EQ(buttons, states());
    }
    moveTo(dpi);
    PumpPending();
    EXPECT_EQ(before, LayoutProblems(dpi)) << "back at " << dpi << " DPI";
    RECT back = ScreenRect(Combo());
    EXPECT_TRUE(EqualRect(&list, &back)) << Describe(list) << " became " << Describe(back);
    EXPECT_EQ(buttons, states());
    EXPECT_EQ("", pictureCalls->Unsupported());
    // Back in the normal view, the saved item is still there and the bar still saves.
    Press(40007);
    EXPECT_EQ(std::vector<std::string>{"abc"}, Items());
    Press(40008);
    EXPECT_EQ(1u, Items().size());
}

TEST_F(DisplayScale, AnEditorThatTellsOnlyItsFrameStillGetsTheBarLaidOutOnItsNextPaint)
{
    UINT dpi = ScreenDpi();
    UINT other = dpi == 192 ? 96 : 192;
    const RECT frame = ScreenRect(Frame());
    // A per-monitor editor of the first kind: the frame hears of the new scale and takes its new
    // place; its children hear of nothing, and are repainted.
    auto moveTo = [&](UINT to) {
        TellFrame(frame, dpi, to);
        RedrawWindow(Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpPending();
    };
    {
        FakeWindowDpi fake(Host().Plugins().at(0).module, other);
        ASSERT_TRUE(fake.Installed());
        moveTo(other);
        EXPECT_EQ("", LayoutProblems(other)) << "moved to " << other << " DPI";
    }
    moveTo(dpi);
    EXPECT_EQ("", LayoutProblems(dpi)) << "back at " << dpi << " DPI";
}

} // namespace
