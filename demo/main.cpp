// VexaroTour.exe: the demo tour. Opens the sample host in-process with the plug-in, as the tests
// do, and walks through the clip bar with real keys and clicks, reporting each step on stdout.
#include "demo/Tour.h"
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kTourUsage[] = "VexaroTour.exe --plugin DLL --open FILE [--screenshot PNG]";

struct TourArgs {
    std::string plugin;
    std::string openFile;
    std::string screenshot;
};

bool ParseArgs(const std::vector<std::string>& args, TourArgs& out, std::string& error)
{
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& arg = args[i];
        std::string* value = arg == "--plugin" ? &out.plugin
                           : arg == "--open" ? &out.openFile
                           : arg == "--screenshot" ? &out.screenshot : nullptr;
        if (value == nullptr) error = "unknown argument: " + arg;
        else if (i + 1 >= args.size()) error = arg + " needs a value";
        else *value = args[i + 1];
        if (!error.empty()) return false;
    }
    if (out.plugin.empty() || out.openFile.empty()) error = "--plugin and --open are needed";
    return error.empty();
}

} // namespace

int main(int argc, char** argv)
{
    TourArgs args;
    std::string error;
    if (!ParseArgs(std::vector<std::string>(argv + 1, argv + argc), args, error)) {
        fprintf(stderr, "VexaroTour: %s\nusage: %s\n", error.c_str(), kTourUsage);
        return 2;
    }
    HostOptions options;
    options.plugins.push_back(args.plugin);
    options.openFile = args.openFile;
    HostApp host;
    std::string problems;
    if (!host.Open(options, problems)) {
        fprintf(stderr, "VexaroTour: %s\n", problems.c_str());
        return 1;
    }
    if (!problems.empty()) fprintf(stderr, "VexaroTour: %s", problems.c_str());
    int code = RunTour(host, args.screenshot);
    host.Close();
    return code;
}
