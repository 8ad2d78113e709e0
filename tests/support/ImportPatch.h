// Replaces one imported function of a loaded module for as long as the patch lives: the module's
// calls go to `replacement`, which can reach the real function through Original().
#pragma once
#include <windows.h>

class ImportPatch {
public:
    ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool Installed() const { return slot != nullptr; }
    void* Original() const { return original; }

private:
    void** slot = nullptr;
    void* original = nullptr;
};
