#include "support/MessageBoxHook.h"
#include <cstring>

namespace {
MessageBoxHook* activeHook = nullptr;
RealBoxAnswerer* activeAnswerer = nullptr;
BeepCounter* activeCounter = nullptr;

} // namespace

MessageBoxHook::MessageBoxHook(HMODULE module)
    : patch(module, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(&MessageBoxHook::Replacement))
{
    if (!patch.Installed()) return;
    previous = activeHook;
    activeHook = this;
}

MessageBoxHook::~MessageBoxHook()
{
    if (patch.Installed()) activeHook = previous;
}

int WINAPI MessageBoxHook::Replacement(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    MessageBoxHook* self = activeHook;
    self->boxes.push_back({owner, text ? text : "", caption ? caption : "", style});
    if (!self->answers.empty()) {
        int answer = self->answers.front();
        self->answers.pop_front();
        return answer;
    }
    UINT buttons = style & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDNO : IDOK;
}

RealBoxAnswerer::RealBoxAnswerer(int pressed) : button(pressed)
{
    activeAnswerer = this;
    hook = SetWindowsHookExA(WH_CBT, &RealBoxAnswerer::CbtProc, nullptr, GetCurrentThreadId());
}

RealBoxAnswerer::~RealBoxAnswerer()
{
    if (hook) UnhookWindowsHookEx(hook);
    activeAnswerer = nullptr;
}

LRESULT CALLBACK RealBoxAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && activeAnswerer != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char cls[32] = "";
        GetClassNameA(box, cls, sizeof cls);
        if (strcmp(cls, "#32770") == 0) {
            // The box is not fully set up yet: press the button once its loop runs.
            SetTimer(box, 0x5EED, 10, &RealBoxAnswerer::Press);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK RealBoxAnswerer::Press(HWND box, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(box, timer);
    if (activeAnswerer == nullptr) return;
    Seen seen{GetWindow(box, GW_OWNER), "", ""};
    char buffer[1024] = "";
    GetWindowTextA(box, buffer, sizeof buffer);
    seen.caption = buffer;
    buffer[0] = '\0';
    GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer); // the message text's static control
    seen.text = buffer;
    activeAnswerer->shown.push_back(seen);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(activeAnswerer->button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, activeAnswerer->button)));
}

BeepCounter::BeepCounter(HMODULE module)
    : patch(module, "user32.dll", "MessageBeep", reinterpret_cast<void*>(&BeepCounter::Replacement))
{
    if (patch.Installed()) activeCounter = this;
}

BeepCounter::~BeepCounter()
{
    if (patch.Installed()) activeCounter = nullptr;
}

BOOL WINAPI BeepCounter::Replacement(UINT)
{
    if (activeCounter != nullptr) ++activeCounter->count;
    return TRUE;
}
