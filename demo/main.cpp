// VexaroTour.exe: the demo tour. Opens the sample host in-process with the plug-in, as the tests
// do, and walks through the clip bar with real keys and clicks, checking each step.
//
// The plug-in keeps its palette settings beside itself, so the tour runs a fresh copy of it in a
// folder of its own ("tour" beside this program) without a settings file: every run starts from
// the same settings, and those beside the DLL the user gave are neither read nor written.
#include "demo/Tour.h"
#include "demo/TourCheck.h"
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kTourUsage[] =
    "VexaroTour.exe --plugin DLL --open FILE [--screenshot PNG] [--pictures FOLDER] [--scaled-bar PNG]";

struct TourArgs {
    std::string plugin;
    std::string openFile;
    TourOutput output;
};

bool ParseArgs(const std::vector<std::string>& args, TourArgs& out, std::string& error)
{
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& arg = args[i];
        std::string* value = arg == "--plugin" ? &out.plugin
                           : arg == "--open" ? &out.openFile
                           : arg == "--screenshot" ? &out.output.screenshot
                           : arg == "--pictures" ? &out.output.pictures
                           : arg == "--scaled-bar" ? &out.output.scaledBar : nullptr;
        if (value == nullptr) error = "unknown argument: " + arg;
        else if (i + 1 >= args.size()) error = arg + " needs a value";
        else *value = args[i + 1];
        if (!error.empty()) return false;
    }
    if (out.plugin.empty() || out.openFile.empty()) error = "--plugin and --open are needed";
    return error.empty();
}

// The settings file the plug-in at `dll` uses: beside it, with its name.
std::string SettingsOf(const std::string& dll)
{
    size_t dot = dll.find_last_of('.');
    size_t slash = dll.find_last_of("\\/");
    return (dot != std::string::npos && (slash == std::string::npos || dot > slash) ? dll.substr(0, dot) : dll) + ".ini";
}

// A file's bytes, or "(none)" when it cannot be read.
std::string Contents(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return "(none)";
    std::string bytes;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
    fclose(file);
    return bytes;
}

// A fresh copy of the plug-in in "tour" beside this program, with no settings file; its path.
std::string PrivateCopy(const std::string& plugin, std::string& error)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder = self;
    folder = folder.substr(0, folder.find_last_of('\\') + 1) + "tour";
    size_t slash = plugin.find_last_of("\\/");
    std::string copy = folder + "\\" + (slash == std::string::npos ? plugin : plugin.substr(slash + 1));
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string settings = SettingsOf(copy);
    if (!CopyFileA(plugin.c_str(), copy.c_str(), FALSE)) error = "cannot copy " + plugin + " to " + copy;
    else if (!DeleteFileA(settings.c_str()) && GetFileAttributesA(settings.c_str()) != INVALID_FILE_ATTRIBUTES)
        error = "cannot remove " + settings;
    return copy;
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
    std::string copy = PrivateCopy(args.plugin, error);
    if (!error.empty()) {
        fprintf(stderr, "VexaroTour: %s\n", error.c_str());
        return 1;
    }
    std::string userSettings = Contents(SettingsOf(args.plugin));
    Say("the plug-in runs from " + copy + ", a fresh copy without settings");
    HostOptions options;
    options.plugins.push_back(copy);
    options.openFile = args.openFile;
    HostApp host;
    std::string problems;
    if (!host.Open(options, problems)) {
        fprintf(stderr, "VexaroTour: %s\n", problems.c_str());
        return 1;
    }
    if (!problems.empty()) fprintf(stderr, "VexaroTour: %s", problems.c_str());
    RunTour(host, args.output);
    host.Close();
    Check(Contents(SettingsOf(args.plugin)) == userSettings, "the settings beside " + args.plugin + " are untouched");
    if (ChecksFailed() > 0) {
        Say("FAILED: " + std::to_string(ChecksFailed()) + " of " + std::to_string(ChecksMade()) + " checks");
        return 1;
    }
    Say("passed: all " + std::to_string(ChecksMade()) + " checks");
    return 0;
}
