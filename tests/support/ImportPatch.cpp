#include "support/ImportPatch.h"
#include <cstring>

namespace {

// The import address table slot through which `module` calls dll!function.
void** FindSlot(HMODULE module, const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return nullptr;
    HMODULE exporter = GetModuleHandleA(dll);
    void* target = exporter ? reinterpret_cast<void*>(GetProcAddress(exporter, function)) : nullptr;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name != 0; ++imp) {
        if (_stricmp(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
        auto* iat = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk));
        for (; iat->u1.Function != 0; ++iat, ++names) {
            if (imp->OriginalFirstThunk != 0 && !IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                    return reinterpret_cast<void**>(&iat->u1.Function);
            } else if (target != nullptr && reinterpret_cast<void*>(iat->u1.Function) == target) {
                return reinterpret_cast<void**>(&iat->u1.Function);
            }
        }
    }
    return nullptr;
}

void WriteSlot(void** slot, void* value)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof(void*), old, &old);
}

} // namespace

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement)
{
    if (module == nullptr) return;
    slot = FindSlot(module, dll, function);
    if (slot == nullptr) return;
    original = *slot;
    WriteSlot(slot, replacement);
}

ImportPatch::~ImportPatch()
{
    if (slot != nullptr) WriteSlot(slot, original);
}
