#include "plugin/LibraryHold.h"

// Used on the editor's thread only; the short thread gets what it needs as its parameter.
static int holdingWindows = 0;
static int procedureDepth = 0;
static HMODULE heldModule = nullptr;   // the reference the windows hold
static HWND closeSignal = nullptr;     // message-only, of a system class: no procedure of ours
static bool givingBack = false;        // the last window is gone; waiting for procedureDepth 0

static const char kHoldProperty[] = "Vexaro.HoldsLibrary";

// Runs holding the reference it gives back, so none of our code runs after the last release.
static DWORD WINAPI GiveBackLibrary(LPVOID signal)
{
    // Answered only when the editor's thread takes messages again, and none of our procedures is
    // on its stack then (procedureDepth was 0 as the thread started, and no window of ours is
    // left to enter by). The system's procedure destroys the window.
    SendMessageA(static_cast<HWND>(signal), WM_CLOSE, 0, 0);
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       kHoldProperty, &self);
    FreeLibraryAndExitThread(self, 0);
    return 0;
}

static void StartGivingBack()
{
    givingBack = false;
    HWND signal = closeSignal;
    closeSignal = nullptr;
    heldModule = nullptr;
    HANDLE thread = CreateThread(nullptr, 0, GiveBackLibrary, signal, 0, nullptr);
    if (thread != nullptr) {
        CloseHandle(thread);
        return;
    }
    // Without the thread the reference stays for good: a library left loaded, never code run
    // after it is gone.
    DestroyWindow(signal);
}

static void LastWindowGone()
{
    givingBack = true;
    if (procedureDepth == 0) StartGivingBack();
}

void HoldLibraryFor(HWND window)
{
    if (window == nullptr || GetPropA(window, kHoldProperty) != nullptr) return;
    if (heldModule == nullptr) {
        HMODULE module = nullptr;
        if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, kHoldProperty, &module)) return;
        HWND signal = CreateWindowExA(0, "STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        // Without a way to give it back safely, no reference is taken: the windows live as before.
        // A caller of ours is running, so someone else holds the library as this one goes.
        if (signal == nullptr) {
            FreeLibrary(module);
            return;
        }
        heldModule = module;
        closeSignal = signal;
    }
    if (!SetPropA(window, kHoldProperty, heldModule)) {
        if (holdingWindows == 0) LastWindowGone();
        return;
    }
    ++holdingWindows;
    givingBack = false;
}

void ReleaseLibraryFor(HWND window)
{
    if (RemovePropA(window, kHoldProperty) == nullptr || --holdingWindows > 0) return;
    LastWindowGone();
}

LibraryInUse::LibraryInUse()
{
    ++procedureDepth;
}

LibraryInUse::~LibraryInUse()
{
    if (--procedureDepth == 0 && givingBack) StartGivingBack();
}
