#include "support/HeapGuard.h"
#include <cstring>

namespace {
const SIZE_T kGuardBytes = 32;
const BYTE kGuardFill = 0xFD;
HeapGuard* activeGuard = nullptr;
} // namespace

HeapGuard::HeapGuard(HMODULE module)
{
    alloc = std::make_unique<ImportPatch>(module, "kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(&HeapGuard::Alloc));
    release = std::make_unique<ImportPatch>(module, "kernel32.dll", "HeapFree", reinterpret_cast<void*>(&HeapGuard::Free));
    activeGuard = this;
}

HeapGuard::~HeapGuard()
{
    // Blocks still held keep their guard bytes; the system frees them as usual later.
    activeGuard = nullptr;
    release.reset();
    alloc.reset();
}

std::vector<std::string> HeapGuard::Violations()
{
    std::vector<std::string> found = violations;
    for (const auto& block : live) {
        std::string damage = Damage(block.first, block.second);
        if (!damage.empty()) found.push_back(damage + " (still held)");
    }
    return found;
}

LPVOID WINAPI HeapGuard::Alloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    if (activeGuard == nullptr || size > static_cast<SIZE_T>(-1) - kGuardBytes) return HeapAlloc(heap, flags, size);
    auto* block = static_cast<BYTE*>(HeapAlloc(heap, flags, size + kGuardBytes));
    if (block == nullptr) return nullptr;
    memset(block + size, kGuardFill, kGuardBytes);
    activeGuard->live[block] = size;
    if (size > activeGuard->largest) activeGuard->largest = size;
    return block;
}

BOOL WINAPI HeapGuard::Free(HANDLE heap, DWORD flags, LPVOID block)
{
    if (activeGuard != nullptr && block != nullptr) {
        auto found = activeGuard->live.find(block);
        if (found != activeGuard->live.end()) {
            activeGuard->Check(block, found->second);
            activeGuard->live.erase(found);
        }
    }
    return HeapFree(heap, flags, block);
}

std::string HeapGuard::Damage(const void* block, SIZE_T size)
{
    const BYTE* guard = static_cast<const BYTE*>(block) + size;
    for (SIZE_T i = 0; i < kGuardBytes; ++i) {
        if (guard[i] != kGuardFill)
            return "block of " + std::to_string(size) + " bytes: byte " + std::to_string(size + i) + " overwritten";
    }
    return "";
}

void HeapGuard::Check(const void* block, SIZE_T size)
{
    ++checked;
    std::string damage = Damage(block, size);
    if (!damage.empty()) violations.push_back(damage);
}

bool ProcessHeapsValid()
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    if (count > 64) count = 64;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapValidate(heaps[i], 0, nullptr)) return false;
    }
    return true;
}
