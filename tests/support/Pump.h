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
