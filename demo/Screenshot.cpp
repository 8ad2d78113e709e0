#include "demo/Screenshot.h"

bool CaptureWindow(HWND window, RgbImage& image)
{
    RECT box;
    return GetWindowRect(window, &box) && CaptureScreen(box, image);
}

bool CaptureScreen(const RECT& box, RgbImage& image)
{
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return false;
    // From the screen rather than the window, so an open menu shows as the user sees it.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = bitmap != nullptr;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (ok) {
        image.width = width;
        image.height = height;
        image.pixels.resize(static_cast<size_t>(width) * height * 3);
        const auto* bgrx = static_cast<const uint8_t*>(bits);
        for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
            image.pixels[i * 3] = bgrx[i * 4 + 2];
            image.pixels[i * 3 + 1] = bgrx[i * 4 + 1];
            image.pixels[i * 3 + 2] = bgrx[i * 4];
        }
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}
