#include "common/RedrawPause.h"

RedrawPause::RedrawPause(HWND window) : window(window != nullptr && IsWindowVisible(window) ? window : nullptr)
{
    if (this->window != nullptr) SendMessageA(this->window, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause()
{
    if (window == nullptr || !IsWindow(window)) return;
    SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
