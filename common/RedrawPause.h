#pragma once
#include <windows.h>

// Redraw off while a window changes in several steps, then one repaint of it and its children,
// instead of one for every step (under Wine each invalidation is a trip to the server).
// A window that is not visible, itself or through a paused parent, is left alone: WM_SETREDRAW
// TRUE would show a hidden window, and a paused parent repaints its children when it resumes.
class RedrawPause {
public:
    explicit RedrawPause(HWND window);
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND window;
};
