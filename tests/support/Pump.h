// Running the test thread's message loop, as the host's UI thread would between user actions.
#pragma once
#include <windows.h>
#include <functional>

// Dispatches every message already queued.
void PumpPending();
// Dispatches messages for `ms` milliseconds.
void PumpFor(DWORD ms);
// Dispatches messages until `done` is true or `timeoutMs` passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Whether the library loaded at `module` is still mapped into the process.
bool LibraryMapped(HMODULE module);
// Dispatches messages until the library is unmapped (at most `timeoutMs`); returns whether it is.
bool PumpUntilUnloaded(HMODULE module, DWORD timeoutMs = 3000);

// Counts the releases of one key (WM_KEYUP or WM_SYSKEYUP) that the thread's message loop takes
// while it lives, so a test can wait for input it sent to arrive. One at a time.
class KeyReleases {
public:
    explicit KeyReleases(WORD key);
    ~KeyReleases();
    KeyReleases(const KeyReleases&) = delete;
    KeyReleases& operator=(const KeyReleases&) = delete;
    int Count() const;
    // Dispatches messages until `n` releases have been taken (at most `timeoutMs`).
    bool WaitFor(int n, DWORD timeoutMs = 3000);

private:
    HHOOK hook = nullptr;
};
