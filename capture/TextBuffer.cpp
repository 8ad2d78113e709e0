#include "capture/TextBuffer.h"
#include <windows.h>

int AllocTextBuffer(char** slot, int n)
{
    if (slot == nullptr || n < 1) return 0;
    FreeTextBuffer(slot);
    // Five spare zero bytes: a text of up to n + 4 bytes copied in stays terminated. Counted in
    // size_t so that n near INT_MAX cannot wrap.
    SIZE_T size = static_cast<SIZE_T>(n) + 5;
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (block == nullptr) return 0;
    *slot = static_cast<char*>(block);
    return 1;
}

int FreeTextBuffer(char** slot)
{
    if (slot == nullptr) return 0;
    if (*slot != nullptr) HeapFree(GetProcessHeap(), 0, *slot);
    *slot = nullptr;
    return 1;
}
