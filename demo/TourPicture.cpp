#include "demo/TourPicture.h"
#include "demo/Screenshot.h"
#include "demo/TourCheck.h"
#include "demo/TourInput.h"
#include <cstring>

RECT ScreenRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

RECT LineRect(HostApp& host, int line)
{
    POINT at = host.ViewControl().PointFromPos({line, 0});
    ClientToScreen(host.View(), &at);
    RECT view = ScreenRect(host.View());
    return {view.left, at.y, view.right, at.y + host.ViewControl().LineHeight()};
}

RECT EditorDownTo(HostApp& host, LONG bottom)
{
    RECT frame = ScreenRect(host.Frame()), view = ScreenRect(host.View());
    POINT at = {view.left + 4, bottom + 4};
    if (at.y >= view.top && at.y < view.bottom) {
        ScreenToClient(host.View(), &at);
        at.y = LineRect(host, host.ViewControl().PosFromPoint(at).line).bottom;
    }
    return {frame.left, frame.top, frame.right, at.y < frame.bottom ? at.y : frame.bottom};
}

static RECT OnScreen(RECT box)
{
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&box, &box, &screen);
    return box;
}

void Picture(const std::string& folder, const char* name, RECT box)
{
    if (folder.empty()) return;
    // The caret blinks: shown afresh, every run's picture catches it lit.
    HideCaret(nullptr);
    ShowCaret(nullptr);
    Pump(100);
    std::string path = folder + "/" + name;
    RgbImage image;
    Check(CaptureScreen(OnScreen(box), image) && WritePng(path, image), "the picture " + path + " is written");
}

namespace {

struct PendingShot {
    MenuShot* shot;
    RECT around;
    std::vector<INPUT> close;
};
PendingShot* pending = nullptr;

BOOL CALLBACK FindShownMenu(HWND window, LPARAM found)
{
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32768") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

std::vector<std::string> MenuItems(HWND window)
{
    std::vector<std::string> items;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0, n = menu != nullptr ? GetMenuItemCount(menu) : 0; i < n; ++i) {
        char text[256] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        bool checked = (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0;
        items.push_back((checked ? "[x] " : "") + std::string(text));
    }
    return items;
}

// Runs inside the menu's loop.
void CALLBACK TakeShot(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (pending == nullptr) return;
    HWND menu = nullptr;
    EnumWindows(FindShownMenu, reinterpret_cast<LPARAM>(&menu));
    MenuShot& shot = *pending->shot;
    if (menu != nullptr) {
        shot.menu = ScreenRect(menu);
        shot.items = MenuItems(menu);
        UnionRect(&shot.taken, &pending->around, &shot.menu);
        shot.taken = OnScreen(shot.taken);
        shot.shown = CaptureScreen(shot.taken, shot.image);
        SendInput(static_cast<UINT>(pending->close.size()), pending->close.data(), sizeof(INPUT));
    }
    pending = nullptr;
}

// The caret blinks: shown afresh, then the menu's loop gets a moment to draw before the shot.
void CALLBACK CaretAfresh(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    HideCaret(nullptr);
    ShowCaret(nullptr);
    SetTimer(nullptr, 0, 150, TakeShot);
}

} // namespace

MenuShot ShotOfMenu(const std::vector<INPUT>& open, RECT around, const std::vector<INPUT>& close)
{
    MenuShot shot;
    PendingShot state = {&shot, around, close};
    pending = &state;
    SetTimer(nullptr, 0, 400, CaretAfresh);
    std::vector<INPUT> inputs = open;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    DWORD start = GetTickCount();
    while (pending != nullptr && GetTickCount() - start < 3000) Pump(50);
    pending = nullptr;
    Pump(300);
    return shot;
}

void PictureOfShot(const std::string& folder, const char* name, const MenuShot& shot, RECT box)
{
    if (folder.empty()) return;
    IntersectRect(&box, &box, &shot.taken);
    RgbImage part;
    part.width = box.right - box.left;
    part.height = box.bottom - box.top;
    bool inside = shot.shown && part.width > 0 && part.height > 0;
    for (int y = box.top; inside && y < box.bottom; ++y) {
        const uint8_t* row = shot.image.pixels.data() +
                             (static_cast<size_t>(y - shot.taken.top) * shot.image.width + (box.left - shot.taken.left)) * 3;
        part.pixels.insert(part.pixels.end(), row, row + static_cast<size_t>(part.width) * 3);
    }
    std::string path = folder + "/" + name;
    Check(inside && WritePng(path, part), "the picture " + path + " is written");
}
