// Catches writes past the end of the heap blocks a module allocates: while a guard lives, every
// block the module takes with HeapAlloc gets guard bytes behind the size it asked for, and they
// are checked when the module frees the block, and for blocks still held when asked.
#pragma once
#include "support/ImportPatch.h"
#include <windows.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

class HeapGuard {
public:
    explicit HeapGuard(HMODULE module);
    ~HeapGuard();
    HeapGuard(const HeapGuard&) = delete;
    HeapGuard& operator=(const HeapGuard&) = delete;

    bool Installed() const { return alloc && alloc->Installed() && release && release->Installed(); }
    // One line per block found written past its end, e.g. "block of 12 bytes: byte 13 overwritten",
    // the blocks still held included.
    std::vector<std::string> Violations();
    size_t BlocksChecked() const { return checked; }
    // The largest block the module asked for while guarded.
    size_t LargestBlock() const { return largest; }

private:
    static LPVOID WINAPI Alloc(HANDLE heap, DWORD flags, SIZE_T size);
    static BOOL WINAPI Free(HANDLE heap, DWORD flags, LPVOID block);
    static std::string Damage(const void* block, SIZE_T size);
    void Check(const void* block, SIZE_T size);

    std::unique_ptr<ImportPatch> alloc;
    std::unique_ptr<ImportPatch> release;
    std::map<const void*, SIZE_T> live;
    std::vector<std::string> violations;
    size_t checked = 0;
    size_t largest = 0;
};

// Asks the system to check every heap of the process; false when one is damaged.
bool ProcessHeapsValid();
