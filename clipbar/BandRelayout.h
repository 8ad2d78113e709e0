// The band laid out again when its display's scale changes: at once where the editor is told of
// the change per window, or on the band's next paint or move where it is not.
#pragma once
#include <windows.h>

// The band, its pictures, its list and its font laid out for the scale of its display now.
void RelayOutBand();
// Where a changed scale can first be seen without being told (a per-monitor editor of the first
// kind gets no message for its child windows): a new layout is posted to `dialog` when the scale
// is not the one the band was laid out for.
void NoticeBandScale(HWND dialog);
// The posted layout, as `dialog` takes it.
void OnRelayoutPosted();
// The message a band dialog takes the posted layout with.
const UINT kBandRelayoutMessage = WM_APP + 1;
