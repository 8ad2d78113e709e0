// The clip bar part of the demo tour: captures, insertions, the clipboard history, the held list,
// the conversion palette and its drag, and closing the band. Takes the screenshot on the way.
#pragma once
#include "host/HostApp.h"
#include <string>

// Returns whether the screenshot was written to `pngPath`.
bool TourClipBar(HostApp& host, const std::string& pngPath);
