#include "clipbar/ToolTip.h"
#include <commctrl.h>
#include <cstddef>

#if !defined(_WIN64)
static_assert(sizeof(CToolTip) == 12, "the tooltip object is three handles");
// The tool record as passed: up to and including lParam (TTTOOLINFOA_V2_SIZE).
static_assert(offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM) == 44, "the tool record is 44 bytes as passed");
#endif

static const char kTipClass[] = "tooltips_class32";
static const char kTipName[] = "VexaToolTip";
static const LPARAM kMaxTipWidth = 1000;  // wide enough that only the texts' own line breaks wrap
static const WORD kTipDelayMs = 1000;
static const COLORREF kTipTextColour = RGB(0, 0, 0);
static const COLORREF kTipBackColour = 0x00D0FFFF;  // pale yellow
static const int kMaxTools = 30;

// The tooltip window dies with its owner, so the handle we keep can be stale by the time we
// destroy it; make sure it is still a tooltip of this thread before touching it.
static bool IsLiveTipWindow(HWND window)
{
    if (window == nullptr || !IsWindow(window)) return false;
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, kTipClass) == 0;
}

CToolTip::CToolTip() : owner(nullptr), tipWindow(nullptr), instance(nullptr)
{
}

// The object outlives every band: it goes as the library is unloaded, under the loader lock,
// where no window may be touched. Its window has gone with its band by then (ClipBar's
// WM_DESTROY), and in any case with its owner.
CToolTip::~CToolTip()
{
    tipWindow = nullptr;
}

bool CToolTip::Create(HWND ownerWindow, HINSTANCE module)
{
    owner = ownerWindow;
    instance = module;
    if (owner == nullptr) return false;
    if (instance == nullptr) instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    Destroy();

    tipWindow = CreateWindowExA(0, kTipClass, kTipName, TTS_ALWAYSTIP, 0, 0, 0, 0, owner, nullptr, instance, nullptr);
    if (tipWindow == nullptr) return false;
    SendMessageA(tipWindow, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    SendMessageA(tipWindow, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELONG(kTipDelayMs, 0));
    SendMessageA(tipWindow, TTM_SETTIPTEXTCOLOR, kTipTextColour, 0);
    SendMessageA(tipWindow, TTM_SETTIPBKCOLOR, kTipBackColour, 0);
    return true;
}

int CToolTip::AddTools(HWND toolbar, const ButtonDef* table)
{
    if (toolbar == nullptr || owner == nullptr || tipWindow == nullptr || instance == nullptr) return 0;
    if (table == nullptr) return 0;

    int rows = 0;
    while (rows < kMaxTools && table[rows].id != -1) ++rows;

    // A table that carries its own texts uses them; otherwise each tip is the string-table entry
    // with the button's id.
    bool ownTexts = rows > 0 && table[0].text[0] != '\0';
    if (ownTexts) instance = nullptr;

    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = toolbar;
    tool.hinst = instance;
    for (int j = 0; j < rows; ++j) {
        tool.uId = static_cast<UINT_PTR>(table[j].id);
        tool.lpszText = ownTexts ? const_cast<char*>(table[j].text) : MAKEINTRESOURCEA(table[j].id);
        // Separators are not in yet, so row j is still button j.
        SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(j), reinterpret_cast<LPARAM>(&tool.rect));
        SendMessageA(tipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageA(toolbar, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tipWindow), 0);
    return 1;
}

void CToolTip::Destroy()
{
    if (IsLiveTipWindow(tipWindow)) DestroyWindow(tipWindow);
    tipWindow = nullptr;
}
