#include "convpalette/PaletteDrag.h"
#include "common/Dpi.h"
#include "plugin/PluginState.h"

// The outline is one dotted pixel at 96 DPI, as thick as the display's scale makes a pixel.
static void DrawOutline(HDC dc, const RECT& rect)
{
    RECT frame = rect;
    for (int i = 0; i < plugin.dragThickness && frame.right - frame.left > 2 && frame.bottom - frame.top > 2; ++i) {
        DrawFocusRect(dc, &frame);
        InflateRect(&frame, -1, -1);
    }
}

void DrawDragOutline(bool collapse, bool start)
{
    POINT cursor;
    GetCursorPos(&cursor);
    if (start) {
        RECT window;
        GetWindowRect(plugin.paletteWindow, &window);
        plugin.dragSize.cx = window.right - window.left;
        plugin.dragSize.cy = window.bottom - window.top;
        plugin.grabOffset.x = cursor.x - window.left;
        plugin.grabOffset.y = cursor.y - window.top;
        int thickness = ScaleForDpi(1, WindowDpi(plugin.paletteWindow));
        plugin.dragThickness = thickness > 1 ? thickness : 1;
    }
    RECT next = {cursor.x - plugin.grabOffset.x, cursor.y - plugin.grabOffset.y, 0, 0};
    next.right = next.left + plugin.dragSize.cx;
    next.bottom = next.top + plugin.dragSize.cy;
    if (collapse) {
        next.right = next.left;
        next.bottom = next.top;
    }
    // Inverted frames: drawing the old one again removes it; an empty one draws nothing.
    if (plugin.dragDC != nullptr) {
        DrawOutline(plugin.dragDC, next);
        DrawOutline(plugin.dragDC, plugin.lastDragRect);
    }
    plugin.lastDragRect = next;
}

static void ReleaseDragDC()
{
    if (plugin.dragDC != nullptr) {
        ReleaseDC(GetDesktopWindow(), plugin.dragDC);
        plugin.dragDC = nullptr;
    }
}

void EndPaletteDrag()
{
    DrawDragOutline(true, false);
    ReleaseCapture();
    ReleaseDragDC();
}

void RunDragLoop()
{
    if (GetCapture() != nullptr) {
        DrawDragOutline(true, false);
        ReleaseDragDC();
        return;
    }
    SetCapture(plugin.paletteWindow);
    MSG msg;
    while (plugin.paletteWindow != nullptr && GetCapture() == plugin.paletteWindow) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (msg.message == WM_MOUSEMOVE) {
            DrawDragOutline(false, false);
        } else if (msg.message == WM_LBUTTONUP) {
            POINT cursor;
            GetCursorPos(&cursor);
            HWND palette = plugin.paletteWindow;
            EndPaletteDrag();
            SetWindowPos(palette, nullptr, cursor.x - plugin.grabOffset.x, cursor.y - plugin.grabOffset.y, 0, 0,
                         SWP_NOSIZE | SWP_NOACTIVATE);
            PostMessageA(palette, WM_NCACTIVATE, TRUE, 0);
            return;
        } else {
            DispatchMessageA(&msg);
        }
    }
    EndPaletteDrag();
}

void StartPaletteDrag()
{
    MSG msg;
    // Paint first: the inverted outline must be drawn over an up-to-date screen. WM_QUIT comes
    // through any filter: it is posted again for the host's own loop, and there is no drag.
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
        BOOL got = GetMessageA(&msg, nullptr, WM_PAINT, WM_PAINT);
        if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
        if (got <= 0) return;
        DispatchMessageA(&msg);
    }
    plugin.dragDC = GetWindowDC(GetDesktopWindow());
    if (plugin.dragDC == nullptr) return;
    DrawDragOutline(false, true);
    RunDragLoop();
}
