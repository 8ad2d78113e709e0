// Moving the palette by dragging it with the mouse: the dotted outline on the screen while the
// button is held, the place after the release, and nothing left behind on the screen.
#include "e2e/PaletteFixture.h"
#include "support/Pump.h"
#include <windows.h>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace {

// The pixels of the whole screen at one moment.
struct Screen {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<DWORD> pixels = std::vector<DWORD>(width * height);

    Screen()
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    bool On(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    bool Differs(const Screen& other, int x, int y) const { return pixels[y * width + x] != other.pixels[y * width + x]; }
};

// A dotted outline of `r` over `before`: a quarter or more of the frame's pixels on the screen
// changed (the dots invert every other pixel).
bool OutlineShown(const Screen& before, const Screen& now, const RECT& r)
{
    int onScreen = 0;
    int changed = 0;
    auto look = [&](int x, int y) {
        if (!now.On(x, y)) return;
        ++onScreen;
        changed += now.Differs(before, x, y) ? 1 : 0;
    };
    for (int x = r.left; x < r.right; ++x) look(x, r.top), look(x, r.bottom - 1);
    for (int y = r.top + 1; y < r.bottom - 1; ++y) look(r.left, y), look(r.right - 1, y);
    return onScreen > 0 && changed * 4 >= onScreen;
}

int ChangedOutside(const Screen& a, const Screen& b, const std::vector<RECT>& except)
{
    int changed = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            POINT p = {x, y};
            if (a.Differs(b, x, y) && std::none_of(except.begin(), except.end(), [p](const RECT& r) { return PtInRect(&r, p); }))
                ++changed;
        }
    }
    return changed;
}

// Waits on a thread that runs no message loop.
bool WaitFor(const std::function<bool()>& done)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(10)) {
        if (GetTickCount() - start >= 3000) return done();
    }
    return true;
}

// What the mouse-moving thread saw while the button was held.
struct DragSeen {
    bool captured = false;       // the palette took the mouse capture
    std::vector<bool> outlines;  // the outline at the start and after each move
    bool paletteStill = true;    // the palette itself did not move meanwhile
};

class PaletteDrag : public PaletteFixture {
protected:
    void SetUp() override
    {
        PaletteFixture::SetUp();
        palette = OpenPalette();
        ASSERT_NE(nullptr, palette);
        ClickDocument();
        HideCaret(View());  // a blinking caret would change the screen between two looks
    }
    // On the caption, 40 pixels from the palette's left edge.
    POINT CaptionPoint()
    {
        RECT r = WindowRect(palette);
        POINT client = {0, 0};
        ClientToScreen(palette, &client);
        return {r.left + 40, (r.top + client.y) / 2};
    }
    // Presses the left button at `from`, moves the pointer along `path` (with Esc pressed after
    // the first move if asked) and releases it. Another thread moves the pointer while this one
    // runs the drag loop, each move once the outline of the previous one shows on the screen.
    DragSeen Drag(POINT from, const std::vector<POINT>& path, bool escape = false)
    {
        DragSeen seen;
        RECT start = WindowRect(palette);
        POINT grab = {from.x - start.left, from.y - start.top};
        if (!MovePointer(from)) return seen;
        Settle();
        before = Screen();
        auto capture = [ui = GetCurrentThreadId()] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(ui, &info);
            return info.hwndCapture;
        };
        auto outlineAt = [&](POINT p) {
            RECT r = start;
            OffsetRect(&r, p.x - grab.x - start.left, p.y - grab.y - start.top);
            return WaitFor([&] { return OutlineShown(before, Screen(), r); });
        };
        std::atomic<bool> done{false};
        std::thread mover([&] {
            SendButton(MOUSEEVENTF_LEFTDOWN);
            seen.captured = WaitFor([&] { return capture() == palette; });
            for (size_t i = 0; seen.captured && i <= path.size(); ++i) {
                if (i > 0) SetCursorPos(path[i - 1].x, path[i - 1].y);
                seen.outlines.push_back(outlineAt(i > 0 ? path[i - 1] : from));
                RECT now = WindowRect(palette);
                seen.paletteStill = seen.paletteStill && EqualRect(&now, &start);
                if (i == 1 && escape) {
                    INPUT keys[2] = {};
                    keys[0].type = keys[1].type = INPUT_KEYBOARD;
                    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
                    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
                    SendInput(2, keys, sizeof(INPUT));
                }
            }
            SendButton(MOUSEEVENTF_LEFTUP);
            WaitFor([&] { return capture() == nullptr; });
            done = true;
        });
        PumpUntil([&] { return done.load(); }, 30000);
        mover.join();
        Settle();
        return seen;
    }
    // Nothing on the screen changed since the drag began but at the given places.
    bool NoTraceBesides(const std::vector<RECT>& places)
    {
        return PumpUntil([&] { return ChangedOutside(before, Screen(), places) == 0; }, 3000);
    }
    void ExpectEditorActive()
    {
        EXPECT_EQ(Frame(), GetForegroundWindow());
        EXPECT_EQ(Frame(), GetActiveWindow());
        EXPECT_EQ(View(), GetFocus());
        EXPECT_EQ(nullptr, GetCapture());
    }

    HWND palette = nullptr;
    Screen before;
};

TEST_F(PaletteDrag, PressAndReleaseWithoutMovingKeepsThePlace)
{
    RECT place = WindowRect(palette);
    ActiveCaptions captions;
    DragSeen seen = Drag(CaptionPoint(), {});
    EXPECT_TRUE(seen.captured);
    EXPECT_EQ(std::vector<bool>{true}, seen.outlines);
    EXPECT_EQ(1, captions.For(palette));
    RECT now = WindowRect(palette);
    EXPECT_TRUE(EqualRect(&place, &now));
    EXPECT_TRUE(NoTraceBesides({place}));
    ExpectEditorActive();
}

TEST_F(PaletteDrag, EndsAtTheReleasePointMinusTheGrabOffsetUnclamped)
{
    RECT first = WindowRect(palette);
    ASSERT_EQ(0, first.left);
    ASSERT_EQ(0, first.top);
    // Over the editor, Esc pressed on the way, released near the far corner: the palette hangs
    // off the screen.
    POINT from = CaptionPoint();
    POINT release = {GetSystemMetrics(SM_CXSCREEN) - 10, GetSystemMetrics(SM_CYSCREEN) - 10};
    DragSeen seen = Drag(from, {{400, 300}, release}, true);
    EXPECT_TRUE(seen.captured);
    EXPECT_EQ(std::vector<bool>(3, true), seen.outlines);
    EXPECT_TRUE(seen.paletteStill);
    RECT second = WindowRect(palette);
    EXPECT_EQ(release.x - from.x, second.left);
    EXPECT_EQ(release.y - from.y, second.top);
    EXPECT_EQ(first.right - first.left, second.right - second.left);
    EXPECT_TRUE(NoTraceBesides({first, second}));
    ExpectEditorActive();

    // The second drag starts with its own outline (nothing stale cancels it out) and ends above
    // and left of the screen.
    from = CaptionPoint();
    POINT grab = {from.x - second.left, from.y - second.top};
    seen = Drag(from, {{5, 5}});
    EXPECT_EQ(std::vector<bool>(2, true), seen.outlines);
    RECT third = WindowRect(palette);
    EXPECT_EQ(5 - grab.x, third.left);
    EXPECT_EQ(5 - grab.y, third.top);
    EXPECT_LT(third.top, 0);
    EXPECT_TRUE(NoTraceBesides({second, third}));
    ExpectEditorActive();

    // The place is kept when the palette is closed and opened again.
    Press(40011);
    palette = OpenPalette();
    ASSERT_NE(nullptr, palette);
    RECT reopened = WindowRect(palette);
    EXPECT_TRUE(EqualRect(&third, &reopened));
}

TEST_F(PaletteDrag, QuitTakenWhilePaintingBeforeTheDragIsPostedAgain)
{
    RECT place = WindowRect(palette);
    ASSERT_TRUE(MovePointer(CaptionPoint()));
    Settle();
    // The editor is told to quit, with a paint pending, just before a press on the caption.
    PostQuitMessage(23);
    InvalidateRect(View(), nullptr, TRUE);
    SendMessageA(palette, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Frame()), MAKELPARAM(HTCAPTION, WM_LBUTTONDOWN));
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the editor's loop never sees the quit";
    EXPECT_EQ(23u, msg.wParam);
    EXPECT_EQ(nullptr, GetCapture());
    RECT now = WindowRect(palette);
    EXPECT_TRUE(EqualRect(&place, &now));
}

// Takes the mouse capture when it paints (once told to).
LRESULT CALLBACK CaptureOnPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && GetPropA(window, "take") != nullptr) SetCapture(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(PaletteDrag, CaptureHeldElsewhereLeavesThePaletteInPlace)
{
    HWND taker = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 700, 700, 40, 40, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, taker);
    SetWindowLongPtrA(taker, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CaptureOnPaint));
    RECT place = WindowRect(palette);
    POINT from = CaptionPoint();
    ASSERT_TRUE(MovePointer(from));
    Settle();
    before = Screen();
    // The press is handled before the pending paint, which the drag lets run first: by the time
    // the drag would take the mouse, the taker holds it.
    SetPropA(taker, "take", taker);
    InvalidateRect(taker, nullptr, TRUE);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    SetCursorPos(from.x + 200, from.y + 150);
    SendButton(MOUSEEVENTF_LEFTUP);
    Settle();
    EXPECT_EQ(taker, GetCapture());
    RECT now = WindowRect(palette);
    EXPECT_TRUE(EqualRect(&place, &now));
    EXPECT_TRUE(NoTraceBesides({place, WindowRect(taker)}));
    ReleaseCapture();
    RemovePropA(taker, "take");
    DestroyWindow(taker);
}

} // namespace
