#include "host/CommandLine.h"

const char kUsage[] =
    "VexaroHost.exe [--plugin PATH]... [--open FILE] [--no-rebar|--rebar-on-command|--rebar-never]\n"
    "               [--no-own-band] [--run-command] [--tour PNGPATH]";

ParseResult ParseCommandLine(const std::vector<std::string>& args, HostOptions& options)
{
    ParseResult result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool takesValue = arg == "--plugin" || arg == "--open" || arg == "--tour";
        if (takesValue && i + 1 >= args.size()) {
            result.error = arg + " needs a value";
            return result;
        }
        if (arg == "--plugin") options.plugins.push_back(args[++i]);
        else if (arg == "--open") options.openFile = args[++i];
        else if (arg == "--tour") options.tourPath = args[++i];
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
