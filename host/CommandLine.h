// The sample host's options, from its command line or set by tests.
#pragma once
#include <string>
#include <vector>

enum class RebarMode {
    Present,    // created at start; host command 4211 creates it again if it is gone
    OnCommand,  // created on host command 4211 only
    Never,      // never created
};

struct HostOptions {
    std::vector<std::string> plugins;  // plug-in libraries, loaded in this order
    std::string openFile;              // empty: start with an empty document
    std::string initialText;           // used when no file is opened (tests)
    RebarMode rebarMode = RebarMode::Present;
    bool ownBand = true;               // the rebar holds a band of the host's own
    bool runCommand = false;           // run the first plug-in's command once shown
    int frames = 1;                    // frames opened at start, each with its own document
};

struct ParseResult {
    bool ok = false;
    std::string error;  // what was wrong, for the usage message
};

// Reads the arguments after the program name.
ParseResult ParseCommandLine(const std::vector<std::string>& args, HostOptions& options);

extern const char kUsage[];
