#include "support/Pump.h"

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
    PumpPending();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool LibraryMapped(HMODULE module)
{
    HMODULE found = nullptr;
    return module != nullptr &&
           GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(module), &found) &&
           found == module;
}

bool PumpUntilUnloaded(HMODULE module, DWORD timeoutMs)
{
    return PumpUntil([module] { return !LibraryMapped(module); }, timeoutMs);
}

namespace {
WORD watchedKey = 0;
int releases = 0;

LRESULT CALLBACK SeeRelease(int code, WPARAM removed, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removed == PM_REMOVE && (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP) &&
        msg->wParam == watchedKey)
        ++releases;
    return CallNextHookEx(nullptr, code, removed, lParam);
}
} // namespace

KeyReleases::KeyReleases(WORD key)
{
    watchedKey = key;
    releases = 0;
    hook = SetWindowsHookExA(WH_GETMESSAGE, SeeRelease, nullptr, GetCurrentThreadId());
}

KeyReleases::~KeyReleases()
{
    if (hook != nullptr) UnhookWindowsHookEx(hook);
}

int KeyReleases::Count() const { return releases; }

bool KeyReleases::WaitFor(int n, DWORD timeoutMs)
{
    return PumpUntil([n] { return releases >= n; }, timeoutMs);
}
