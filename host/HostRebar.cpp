#include "host/HostRebar.h"
#include "common/Dpi.h"
#include <commctrl.h>

HWND CreateHostRebar(HWND frame, bool ownBand, const std::string& label)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND rebar = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                     RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                                 0, 0, 0, 0, frame, nullptr, instance, nullptr);
    if (rebar == nullptr || !ownBand) return rebar;
    std::string caption = "ファイル: " + label;
    // Sizes as a 96-DPI screen sees them, scaled for the frame's display.
    UINT dpi = WindowDpi(frame);
    auto scaled = [dpi](int size) { return ScaleForDpi(size, dpi); };
    HWND text = CreateWindowExA(0, "STATIC", caption.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE,
                                0, 0, scaled(180), scaled(22), rebar, nullptr, instance, nullptr);
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // No title and no minimum width: the rebar gives a row's spare room to a later band only
    // when that band is wider than the first band's minimum, and a plug-in may append a band
    // of width 0.
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE; // understood by every comctl32 version
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
    band.fStyle = RBBS_CHILDEDGE;
    band.hwndChild = text;
    band.cxMinChild = 0;
    band.cyMinChild = scaled(22);
    band.cx = scaled(220);
    band.wID = kOwnBandId;
    SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    return rebar;
}

HWND RebarBandChild(HWND rebar, UINT bandId)
{
    if (rebar == nullptr) return nullptr;
    LRESULT index = SendMessageA(rebar, RB_IDTOINDEX, bandId, 0);
    if (index < 0) return nullptr;
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE; // understood by every comctl32 version
    band.fMask = RBBIM_CHILD;
    if (!SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band))) return nullptr;
    return band.hwndChild;
}

void ScaleOwnBand(HWND rebar, UINT dpi)
{
    LRESULT index = rebar != nullptr ? SendMessageA(rebar, RB_IDTOINDEX, kOwnBandId, 0) : -1;
    if (index < 0) return;
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_CHILDSIZE | RBBIM_SIZE;
    band.cxMinChild = 0;
    band.cyMinChild = static_cast<UINT>(ScaleForDpi(22, dpi));
    band.cx = static_cast<UINT>(ScaleForDpi(220, dpi));
    SendMessageA(rebar, RB_SETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
}

void SetRebarLabel(HWND rebar, const std::string& label)
{
    HWND child = RebarBandChild(rebar, kOwnBandId);
    if (child != nullptr) SetWindowTextA(child, ("ファイル: " + label).c_str());
}
