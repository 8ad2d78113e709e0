// The clip bar part of the demo tour: captures, insertions, the clipboard history, the held list,
// the conversion palette and its drag, and closing the band. Takes the screenshot and the user
// guide's pictures on the way.
#pragma once
#include "demo/Tour.h"
#include "host/HostApp.h"
#include <string>

// `typed` is the document's last line, which the tour typed and copied before the bar's part.
void TourClipBar(HostApp& host, const TourOutput& output, const std::string& typed);
