// VexaroHost.exe: the sample host editor as a program.
#include "host/HostApp.h"
#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::vector<std::string> args(__argv + 1, __argv + __argc);
    HostOptions options;
    ParseResult parsed = ParseCommandLine(args, options);
    if (!parsed.ok) {
        fprintf(stderr, "VexaroHost: %s\nusage: %s\n", parsed.error.c_str(), kUsage);
        return 2;
    }
    HostApp host;
    std::string problems;
    if (!host.Open(options, problems)) {
        fprintf(stderr, "VexaroHost: %s\n", problems.c_str());
        return 1;
    }
    if (!problems.empty()) fprintf(stderr, "VexaroHost: %s", problems.c_str());
    int code = host.RunMessageLoop();
    host.Close();
    return code;
}
