#include "common/Memory.h"
#include <windows.h>

// Straight from the process heap: the C++ runtime's operator new, even with std::nothrow, reports
// a failure by throwing and catching, and a throw needs memory of its own.
void* MemAlloc(size_t size)
{
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void* MemAllocArray(size_t count, size_t size)
{
    if (size != 0 && count > static_cast<size_t>(-1) / size) return nullptr;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, count * size);
}

void MemFree(void* block)
{
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}
