// The scripted tour of the demo: real user actions on the open host, reported on stdout, then a
// screenshot of the editor with the clip bar and its palette saved as a PNG file. Returns the program's exit code.
#pragma once
#include "host/HostApp.h"
#include <string>

int RunTour(HostApp& host, const std::string& pngPath);
