#include "demo/TourCheck.h"
#include "host/Utf8.h"
#include <cstdio>
#include <cstring>

namespace {

int made = 0;
int failed = 0;

std::string Quoted(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i > 0 ? ", \"" : "\"") + items[i] + "\"";
    return out + "]";
}

std::string Point(POINT p)
{
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

BOOL CALLBACK CloseBox(HWND window, LPARAM)
{
    char cls[16] = "", caption[128] = "", text[512] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(window) || GetDlgItem(window, 0xFFFF) == nullptr) return TRUE;
    GetWindowTextA(window, caption, sizeof caption);
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    Check(false, std::string("no message box: \"") + caption + "\" says \"" + text + "\" (closed by the tour)");
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK CloseStrayBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CloseBox, 0);
}

} // namespace

void Say(const std::string& cp932)
{
    printf("tour: %s\n", Cp932ToUtf8(cp932).c_str());
    fflush(stdout);
}

bool Check(bool ok, const std::string& what)
{
    ++made;
    if (!ok) {
        ++failed;
        Say("FAILED: " + what);
    }
    return ok;
}

bool CheckEqual(const std::string& what, const std::string& actual, const std::string& expected)
{
    return Check(actual == expected, what + ": \"" + actual + "\", expected \"" + expected + "\"");
}

bool CheckEqual(const std::string& what, const std::vector<std::string>& actual,
                const std::vector<std::string>& expected)
{
    return Check(actual == expected, what + ": " + Quoted(actual) + ", expected " + Quoted(expected));
}

bool CheckAt(const std::string& what, HWND window, POINT expected)
{
    RECT r = {};
    GetWindowRect(window, &r);
    POINT at = {r.left, r.top};
    return Check(at.x == expected.x && at.y == expected.y, what + " at " + Point(at) + ", expected " + Point(expected));
}

int ChecksMade() { return made; }
int ChecksFailed() { return failed; }

StrayBoxGuard::StrayBoxGuard() : timer(SetTimer(nullptr, 0, 500, CloseStrayBoxes)) {}

StrayBoxGuard::~StrayBoxGuard()
{
    KillTimer(nullptr, timer);
}
