// The steps of the plug-in's band construction, told apart from outside the plug-in: the windows
// it makes are seen as they are made (a CBT hook), and the toolbar, the combo box and the rebar
// are subclassed as they appear, so a few messages to them mark where one step ends and the next
// begins. (A hook on every sent message would tell more, but under Wine it costs a wineserver
// round trip per message and doubles what it measures.)
#pragma once
#include "bench/BareBand.h"
#include "bench/Stats.h"
#include <windows.h>

class ConstructionTrace {
public:
    explicit ConstructionTrace(HWND rebar);
    ~ConstructionTrace();
    ConstructionTrace(const ConstructionTrace&) = delete;
    ConstructionTrace& operator=(const ConstructionTrace&) = delete;

    void Start();
    // Stops, and gives the steps; false when a milestone was not seen.
    bool Stop(BandSteps& steps);

    // What the hooks mark, in ms since Start; negative until seen.
    enum Mark { kDialog, kToolbar, kTip, kStyle, kCombo, kComboDone, kImageDone, kInsert, kInsertDone, kMarks };
    void Note(Mark mark, bool last = false);

private:
    HWND rebar;
    HHOOK hook = nullptr;
    WNDPROC rebarProc = nullptr;
    Stopwatch clock;
    double marks[kMarks];
};
