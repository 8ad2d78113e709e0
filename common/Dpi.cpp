#include "common/Dpi.h"

static const UINT kBaseDpi = 96;

UINT WindowDpi(HWND window)
{
    // Looked up on every call, not kept: the call is rare (layout only) and the system's answer
    // is the only one that counts.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    HMODULE user = GetModuleHandleA("user32.dll");
    FARPROC found = user != nullptr ? GetProcAddress(user, "GetDpiForWindow") : nullptr;
    if (found != nullptr && window != nullptr) {
        UINT dpi = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(found))(window);
        if (dpi != 0) return dpi;
    }
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

int ScaleForDpi(int size, UINT dpi)
{
    return MulDiv(size, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}
