#include "support/MessageBoxHook.h"
#include <cstring>

namespace {
MessageBoxHook* activeHook = nullptr;
RealBoxAnswerer* activeAnswerer = nullptr;
BeepCounter* activeCounter = nullptr;

// The import address table slot through which `module` calls user32!`name`.
void** FindImportSlot(HMODULE module, const char* name)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return nullptr;
    void* target = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name));
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name != 0; ++imp) {
        if (_stricmp(reinterpret_cast<char*>(base + imp->Name), "user32.dll") != 0) continue;
        auto* iat = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk));
        for (; iat->u1.Function != 0; ++iat, ++names) {
            bool byName = !IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) && imp->OriginalFirstThunk != 0;
            if (byName) {
                auto* ibn = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (strcmp(reinterpret_cast<char*>(ibn->Name), name) == 0)
                    return reinterpret_cast<void**>(&iat->u1.Function);
            } else if (reinterpret_cast<void*>(iat->u1.Function) == target) {
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

MessageBoxHook::MessageBoxHook(HMODULE module)
{
    slot = FindImportSlot(module, "MessageBoxA");
    if (slot == nullptr) return;
    original = *slot;
    WriteSlot(slot, reinterpret_cast<void*>(&MessageBoxHook::Replacement));
    previous = activeHook;
    activeHook = this;
}

MessageBoxHook::~MessageBoxHook()
{
    if (slot == nullptr) return;
    WriteSlot(slot, original);
    activeHook = previous;
}

int WINAPI MessageBoxHook::Replacement(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    MessageBoxHook* self = activeHook;
    self->boxes.push_back({owner, text ? text : "", caption ? caption : "", style});
    if (!self->answers.empty()) {
        int answer = self->answers.front();
        self->answers.pop_front();
        return answer;
    }
    UINT buttons = style & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDNO : IDOK;
}

RealBoxAnswerer::RealBoxAnswerer(int pressed) : button(pressed)
{
    activeAnswerer = this;
    hook = SetWindowsHookExA(WH_CBT, &RealBoxAnswerer::CbtProc, nullptr, GetCurrentThreadId());
}

RealBoxAnswerer::~RealBoxAnswerer()
{
    if (hook) UnhookWindowsHookEx(hook);
    activeAnswerer = nullptr;
}

LRESULT CALLBACK RealBoxAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && activeAnswerer != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char cls[32] = "";
        GetClassNameA(box, cls, sizeof cls);
        if (strcmp(cls, "#32770") == 0) {
            // The box is not fully set up yet: press the button once its loop runs.
            SetTimer(box, 0x5EED, 10, &RealBoxAnswerer::Press);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK RealBoxAnswerer::Press(HWND box, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(box, timer);
    if (activeAnswerer == nullptr) return;
    Seen seen{GetWindow(box, GW_OWNER), "", ""};
    char buffer[1024] = "";
    GetWindowTextA(box, buffer, sizeof buffer);
    seen.caption = buffer;
    buffer[0] = '\0';
    GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer); // the message text's static control
    seen.text = buffer;
    activeAnswerer->shown.push_back(seen);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(activeAnswerer->button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, activeAnswerer->button)));
}

BeepCounter::BeepCounter(HMODULE module)
{
    slot = FindImportSlot(module, "MessageBeep");
    if (slot == nullptr) return;
    original = *slot;
    WriteSlot(slot, reinterpret_cast<void*>(&BeepCounter::Replacement));
    activeCounter = this;
}

BeepCounter::~BeepCounter()
{
    if (slot == nullptr) return;
    WriteSlot(slot, original);
    activeCounter = nullptr;
}

BOOL WINAPI BeepCounter::Replacement(UINT)
{
    if (activeCounter != nullptr) ++activeCounter->count;
    return TRUE;
}
