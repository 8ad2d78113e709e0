// The scripted tour of the demo: real user actions on the open host, each announced on stdout and
// its outcome checked, then a screenshot of the editor with the clip bar and its palette.
#pragma once
#include "host/HostApp.h"
#include <string>

struct TourOutput {
    std::string screenshot;  // PNG file; empty: none
};

// Closes the host at the end. What was wrong is counted by ChecksFailed().
void RunTour(HostApp& host, const TourOutput& output);
