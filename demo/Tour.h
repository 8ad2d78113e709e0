// The scripted tour of the demo: real user actions on the open host, each announced on stdout and
// its outcome checked; a screenshot of the editor with the clip bar and its palette, and the user
// guide's pictures, when asked for.
#pragma once
#include "host/HostApp.h"
#include <string>

struct TourOutput {
    std::string screenshot;  // PNG file; empty: none
    std::string pictures;    // folder for the user guide's pictures; empty: none
    // PNG file: only the editor's top with the clip bar, at the display's scale, then the bar is
    // closed (for a prefix whose display is scaled); empty: the whole tour.
    std::string scaledBar;
};

// Closes the host at the end. What was wrong is counted by ChecksFailed().
void RunTour(HostApp& host, const TourOutput& output);
