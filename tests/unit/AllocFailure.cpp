#include "AllocFailure.h"
#include "support/ImportPatch.h"
#include <windows.h>
#include <cstdlib>
#include <new>

static int countdown = -1;
static bool fired = false;
static ImportPatch* heapAlloc = nullptr;

static bool FailNow()
{
    if (countdown < 0 || countdown-- != 0) return false;
    fired = true;
    return true;
}

static LPVOID WINAPI FailingHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    if (FailNow()) return nullptr;
    return reinterpret_cast<decltype(&HeapAlloc)>(heapAlloc->Original())(heap, flags, size);
}

void FailAllocationAfter(int skip)
{
    // Installed on first use and kept: unarmed it only allocates.
    static ImportPatch patch(GetModuleHandleA(nullptr), "kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(&FailingHeapAlloc));
    heapAlloc = &patch;
    countdown = skip;
    fired = false;
}

bool AllocationFailureFired()
{
    return fired;
}

// Replaces the program's global allocation; unarmed it only allocates.
void* operator new(std::size_t size)
{
    if (FailNow()) throw std::bad_alloc();
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
