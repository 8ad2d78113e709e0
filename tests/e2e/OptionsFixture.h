// The bar's settings menu, as a user opens it and answers it, over the palette's fixture (which
// keeps the settings file of the library under test as it was).
#pragma once
#include "e2e/PaletteFixture.h"
#include <cstring>
#include <string>

// The next popup menu of this thread: what it shows ("text=1;" for a checked item, "text=0;"
// otherwise), then the key `key` pressed in it (Esc when 0), as a user does.
class NextMenu {
public:
    explicit NextMenu(WORD key) : timer(SetTimer(nullptr, 0, 30, Look)) { press = key; shown.clear(); }
    ~NextMenu() { KillTimer(nullptr, timer); }
    NextMenu(const NextMenu&) = delete;
    NextMenu& operator=(const NextMenu&) = delete;
    static inline std::string shown;

private:
    static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND popup = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) CALLBACK -> BOOL {
            char name[16] = "";
            GetClassNameA(w, name, sizeof name);
            if (strcmp(name, "#32768") != 0 || !IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(out) = w;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&popup));
        if (popup == nullptr) return;
        KillTimer(nullptr, id);
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[128] = "";
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            shown += std::string(text) + ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) ? "=1;" : "=0;");
        }
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = press != 0 ? press : VK_ESCAPE;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    }
    static inline WORD press = 0;
    UINT_PTR timer;
};

class OptionsFixture : public PaletteFixture {
protected:
    // A right click on the toolbar, beside the buttons; the menu answered with `key`.
    std::string RightClickMenu(WORD key)
    {
        NextMenu menu(key);
        LPARAM at = MAKELPARAM(2, 2);
        PostMessageA(Toolbar(), WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageA(Toolbar(), WM_RBUTTONUP, 0, at);
        EXPECT_TRUE(PumpUntil([] { return !NextMenu::shown.empty(); }, 3000));
        PumpPending();
        return NextMenu::shown;
    }
};
