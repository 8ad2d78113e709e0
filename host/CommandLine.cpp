#include "host/CommandLine.h"

const char kUsage[] =
    "VexaroHost.exe [--plugin PATH]... [--open FILE] [--no-rebar|--rebar-on-command|--rebar-never]\n"
    "               [--no-own-band] [--run-command] [--frames N]";

// 1 to 9 frames; 0 for anything else.
static int FrameCount(const std::string& value)
{
    if (value.size() != 1 || value[0] < '1' || value[0] > '9') return 0;
    return value[0] - '0';
}

ParseResult ParseCommandLine(const std::vector<std::string>& args, HostOptions& options)
{
    ParseResult result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool takesValue = arg == "--plugin" || arg == "--open" || arg == "--frames";
        if (takesValue && i + 1 >= args.size()) {
            result.error = arg + " needs a value";
            return result;
        }
        if (arg == "--plugin") options.plugins.push_back(args[++i]);
        else if (arg == "--open") options.openFile = args[++i];
        else if (arg == "--frames") {
            options.frames = FrameCount(args[++i]);
            if (options.frames == 0) {
                result.error = "--frames needs a number from 1 to 9";
                return result;
            }
        }
        else if (arg == "--no-rebar" || arg == "--rebar-on-command") options.rebarMode = RebarMode::OnCommand;
        else if (arg == "--rebar-never") options.rebarMode = RebarMode::Never;
        else if (arg == "--no-own-band") options.ownBand = false;
        else if (arg == "--run-command") options.runCommand = true;
        else {
            result.error = "unknown argument: " + arg;
            return result;
        }
    }
    result.ok = true;
    return result;
}
