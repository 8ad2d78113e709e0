// The host's rebar: above the view, after it in the frame's list of children.
#pragma once
#include <windows.h>
#include <string>

// The id of the host's own band (a label with the document's name).
const UINT kOwnBandId = 1;

// Creates the rebar as a child of `frame`, with the host's own band when `ownBand` is set.
HWND CreateHostRebar(HWND frame, bool ownBand, const std::string& label);
// The child window of the band with `bandId`, or null when the rebar has no such band.
HWND RebarBandChild(HWND rebar, UINT bandId);
// Sizes the host's own band for the display's scale `dpi` (as a 96-DPI screen sees it: 220 wide,
// 22 high), if there is one.
void ScaleOwnBand(HWND rebar, UINT dpi);
// Shows `label` in the host's own band, if there is one.
void SetRebarLabel(HWND rebar, const std::string& label);
