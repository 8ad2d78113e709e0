// The host's rebar: above the view, after it in the frame's list of children.
#pragma once
#include <windows.h>
#include <string>

// The id of the host's own band (a label with the document's name).
const UINT kOwnBandId = 1;

// Creates the rebar as a child of `frame`, with the host's own band when `ownBand` is set.
HWND CreateHostRebar(HWND frame, bool ownBand, const std::string& label);
// Shows `label` in the host's own band, if there is one.
void SetRebarLabel(HWND rebar, const std::string& label);
