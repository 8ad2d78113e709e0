// The measured scenarios, each on a sample host of its own with the plug-in loaded.
#pragma once
#include "bench/BareBand.h"
#include "bench/Stats.h"
#include <windows.h>
#include <string>
#include <vector>

struct BenchConfig {
    std::string pluginPath;
    std::vector<int> sizes{100, 1000, 10000};   // saved items for opening and closing
    int bandReps = 7;                            // open/close rounds per size
    int splitReps = 9;
    int commandReps = 21;
    int clipboardChanges = 1000;
    // Mixed commands done when memory is read: the history fills up over the first hundreds, so
    // growth is judged from the second reading on.
    std::vector<int> memoryReadings{100, 1000, 10000, 30000};
    bool smoke = false;
};

// What a run found: the figures for the targets, and whether every result was as expected.
struct BenchResults {
    // `empty`: opening the same band with nothing saved, its own construction.
    // `bareOpen` and friends: the same band built and taken down with bare Win32 calls.
    // `net`: the items' share of an opening: its time after the band is in the rebar, less the
    // same for the opening with nothing saved in the same round.
    struct Size { int n; Summary open, bare, empty, destroy, exit, bareOpen, bareClose, bareEmpty, net; };
    std::vector<Size> sizes;
    // The band's construction with nothing saved, step by step: the plug-in's and the bare one's.
    std::vector<BandSteps> pluginSteps, bareSteps;
    Summary splitFirst, splitAgain, splitBare;
    int splitLines = 0;
    Summary splitOverLarge, splitOverLargeAgain;
    int largeItems = 0;
    // A command's whole time, and its own: without the time the host spent on its host messages.
    // `bare`: the bare Win32 calls that give the same visible result; `limit`: the ratio allowed,
    // `why`: what the plug-in must do on top of them.
    // steps: the toolbar changes the command must make, done directly on the bare band (stepsWhat
    // names them); they tell the system's share when the ratio to the bare list work is over.
    struct Command {
        std::string name; Summary total, own, bare; bool judged; double limit; std::string why;
        Summary steps; std::string stepsWhat;
    };
    std::vector<Command> commands;
    Summary clipboard, clipboardBare, clipboardSteps;
    int clipboardSeen = 0;
    struct Memory { int commands; size_t privateBytes, heapBytes, items, itemBytes; DWORD gdiObjects, userObjects; };
    std::vector<Memory> memory;
    // The kept-items file written with 1,000 items; the bare WriteFile of the same bytes and the
    // same replace; the flush the module does on top, done bare.
    Summary keptWrite, keptBare, keptFlush;
    size_t keptBytes = 0;
    std::vector<std::string> failures;
};

class BenchHost;
// Records a failed check of the results (a run with one fails).
void Check(BenchResults& results, bool ok, const std::string& what);
// Opens the host with the plug-in and the band; false (recorded) when that fails.
bool OpenWithBand(BenchHost& host, BenchResults& results);
// The plug-in showed no message box the scenario did not ask for.
void CheckNoBoxes(BenchHost& host, BenchResults& results);

void RunOpenClose(const BenchConfig& config, BenchResults& results);
void RunSplit(const BenchConfig& config, BenchResults& results);
void RunCommands(const BenchConfig& config, BenchResults& results);
void RunClipboard(const BenchConfig& config, BenchResults& results);
void RunMemory(const BenchConfig& config, BenchResults& results);
void RunKeptWrite(const BenchConfig& config, BenchResults& results);

// Texts and documents for the scenarios.
std::vector<std::string> NumberedItems(int count, const char* format);
// Documents of CR LF separated lines, each at most `limit` bytes, that hold `lines` in order.
std::vector<std::string> Documents(const std::vector<std::string>& lines, size_t limit);
// `count` distinct two-character lines (letter case ignored).
std::vector<std::string> ShortLines(int count);
