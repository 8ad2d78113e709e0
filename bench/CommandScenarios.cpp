// Items 4 and 5: single commands on a list of 100 items, and clipboard changes in the history view.
#include "bench/BareBand.h"
#include "bench/BenchHost.h"
#include "bench/Scenarios.h"
#include "res/resource.h"
#include <cstdio>
#include <commctrl.h>

static const int kDocumentLines = 40;

static std::string CommandDocument()
{
    std::string text;
    for (int i = 0; i < kDocumentLines; ++i) text += Format("Line %02d: the quick brown fox ｶﾀｶﾅ 全角テキスト abc\r\n", i);
    return text;
}

// Ticks a target and a width on the palette, so that a converting insertion has work to do.
static void TickPalette(BenchHost& host)
{
    HWND palette = host.Palette();
    SendMessageA(GetDlgItem(palette, IDC_ALNUM), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(GetDlgItem(palette, IDC_FULL_WIDTH), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(GetDlgItem(palette, IDC_HALF_WIDTH), BM_SETCHECK, BST_UNCHECKED, 0);
}

void RunCommands(const BenchConfig& config, BenchResults& results)
{
    BenchHost host(config.pluginPath);
    if (!OpenWithBand(host, results)) return;
    for (const std::string& document : Documents(NumberedItems(100, "saved item %03d"), 5000)) host.SplitCapture(document);
    for (int i = 0; i < 30; ++i) host.Copy(Format("clipboard text %02d", i));
    PumpPending();
    Check(results, host.ItemCount() == 100, "100 items to start with");

    const std::string document = CommandDocument();
    struct Timing {
        const char* name; double limit; const char* why; std::vector<double> total, own, bare, steps;
        const char* stepsWhat = "";
    };
    const char* bookkeeping = "";
    std::vector<Timing> times = {
        {"capture line start to caret (40002)", 2.0, "the selection is set twice and both ends converted first", {}, {}, {}, {}},
        {"capture caret to line end (40003)", 2.0, "the selection is set twice and both ends converted first", {}, {}, {}, {}},
        {"capture selection (40004)", 2.0, "the host's status cleared first, Ctrl's state read", {}, {}, {}, {}},
        {"capture caret line (40008)", 2.0, "the host's status cleared first", {}, {}, {}, {}},
        {"plain insertion (choose an item)", 1.5, "the status cleared and the pointer nudged", {}, {}, {}, {}},
        {"converting insertion (palette open)", 1.5, bookkeeping, {}, {}, {}, {}},
        {"history view on (40007)", 2.0, "the items read out to be kept, seven buttons greyed", {}, {}, {}, {}},
        {"history view off (40007)", 2.0, "seven buttons enabled again", {}, {}, {}, {}},
        {"hold on (40010)", 2.0, "the list dropped, closed and shown again, a timer, eight buttons greyed", {}, {}, {}, {}},
        {"hold off (40010)", 2.0, "eight buttons enabled, the timer stopped", {}, {}, {}, {}},
        {"palette open (40011)", 2.0, "its place and ticks read from the settings file, its procedure subclassed", {}, {}, {}, {}},
        {"palette close (40011)", 2.0, "its place and ticks written to the settings file, the keyboard given back", {}, {}, {}, {}}};
    size_t t = 0;
    auto record = [&](double ms) {
        times[t].total.push_back(ms);
        times[t].own.push_back(ms - host.LastHostMs());
        ++t;
    };
    // The same visible result from bare calls, timed right after the plug-in's command.
    auto bare = [&](size_t index, double ms) { times[index].bare.push_back(ms); };
    auto steps = [&](size_t index, double ms) { times[index].steps.push_back(ms); };
    // The buttons the history view and the hold grey out.
    static const int kHistoryButtons[] = {ID_SAVE_TO_CARET, ID_SAVE_FROM_CARET, ID_SAVE_SELECTION, ID_SAVE_LINE,
                                          ID_DELETE_CHOSEN, ID_DELETE_ALL, ID_EXIT_TOOL};
    static const int kHoldButtons[] = {ID_SAVE_TO_CARET, ID_SAVE_FROM_CARET, ID_SAVE_SELECTION, ID_SAVE_LINE,
                                       ID_SHOW_HISTORY, ID_DELETE_CHOSEN, ID_DELETE_ALL, ID_EXIT_TOOL};
    times[0].stepsWhat = times[1].stepsWhat = "the status cleared, both ends converted and the selection set again";
    times[2].stepsWhat = "the status cleared and Ctrl's state read";
    times[3].stepsWhat = "the status cleared";
    times[6].stepsWhat = "the list's items read out, its button checked and seven buttons greyed";
    times[7].stepsWhat = "its button unchecked and seven buttons enabled";
    times[8].stepsWhat = "the list closed and shown again, its button checked and eight buttons greyed";
    times[9].stepsWhat = "its button unchecked and eight buttons enabled";
    BareBand bareBand(host.App().Rebar(), host.App().Plugins()[0].module);
    std::vector<std::string> history;
    for (int i = 29; i >= 0; --i) history.push_back(Format("clipboard text %02d", i));
    for (int rep = 0; rep < config.commandReps; ++rep) {
        host.SetDocument(document);
        host.ForgetHostHistory();
        int line = rep % kDocumentLines;
        t = 0;
        if (!bareBand.IsOpen()) bareBand.Open(host.Items());
        // The four captures, each done by the plug-in and then bare from the same caret or selection.
        struct Capture { int id; BenchHost::BareKind kind; int column; };
        static const Capture kCaptures[] = {{ID_SAVE_TO_CARET, BenchHost::kToCaret, 9},
                                            {ID_SAVE_FROM_CARET, BenchHost::kFromCaret, 9},
                                            {ID_SAVE_SELECTION, BenchHost::kSelection, -1},
                                            {ID_SAVE_LINE, BenchHost::kLine, 3}};
        for (size_t c = 0; c < 4; ++c) {
            auto place = [&] {
                if (kCaptures[c].column < 0) {
                    host.App().Edit().Select({line, 0}, {line + 1, 20});
                } else {
                    host.SetCaret(line, kCaptures[c].column);
                }
            };
            place();
            record(host.Command(kCaptures[c].id));
            place();
            bare(c, host.BareCapture(kCaptures[c].kind, bareBand.Combo()));
            steps(c, host.BareCaptureSteps(kCaptures[c].kind));
        }
        std::string chosen = host.Items().at(5);
        size_t length = host.App().Edit().Text().size();
        record(host.Choose(5));
        Check(results, host.App().Edit().Text().size() == length + chosen.size(), "the plain insertion inserts the item");
        bare(4, host.BareInsert(bareBand.Combo(), 5, nullptr));

        double paletteOpen = host.Command(ID_SHOW_PALETTE);
        double paletteOpenHost = host.LastHostMs();
        Check(results, host.Palette() != nullptr, "the palette opens");
        TickPalette(host);
        length = host.App().Edit().Text().size();
        record(host.Choose(7));
        Check(results, host.App().Edit().Text().size() > length, "the converting insertion inserts the item");
        bare(5, host.BareInsert(bareBand.Combo(), 7, host.Palette()));

        std::vector<std::string> saved = host.Items();
        record(host.Command(ID_SHOW_HISTORY));
        Check(results, host.ItemCount() == 30, "the history view shows 30 entries");
        double bareReadOut = bareBand.ReadItems();
        bare(6, bareBand.Refill(history));
        steps(6, bareReadOut + bareBand.CheckButton(ID_SHOW_HISTORY, true) + bareBand.SetButtons(kHistoryButtons, 7, false));
        record(host.Command(ID_SHOW_HISTORY));
        Check(results, host.Items() == saved, "the saved items come back after the history view");
        bare(7, bareBand.Refill(saved));
        steps(7, bareBand.CheckButton(ID_SHOW_HISTORY, false) + bareBand.SetButtons(kHistoryButtons, 7, true));

        record(host.Command(ID_HOLD_LIST));
        record(host.Command(ID_HOLD_LIST));
        Check(results, SendMessageA(host.Toolbar(), TB_ISBUTTONCHECKED, ID_HOLD_LIST, 0) == 0, "the hold ends");
        bare(8, bareBand.Hold(true));
        steps(8, bareBand.HoldSteps(true) + bareBand.CheckButton(ID_HOLD_LIST, true) +
                     bareBand.SetButtons(kHoldButtons, 8, false));
        // The list shown again as a plain window is hidden as one: that is the hold's end.
        bare(9, bareBand.Hold(false) + bareBand.HoldSteps(false));
        steps(9, bareBand.CheckButton(ID_HOLD_LIST, false) + bareBand.SetButtons(kHoldButtons, 8, true));

        times[t].total.push_back(paletteOpen);
        times[t].own.push_back(paletteOpen - paletteOpenHost);
        ++t;
        // The plug-in moves its palette to the place it was closed at, kept in its settings file.
        RECT place = {0, 0, 0, 0};
        GetWindowRect(host.Palette(), &place);
        record(host.Command(ID_SHOW_PALETTE));
        Check(results, host.Palette() == nullptr, "the palette closes");
        bare(10, bareBand.OpenPalette(host.App().Frame(), {place.left, place.top}));
        bare(11, bareBand.ClosePalette());
        SetFocus(host.App().View());
    }
    // The command dropping the list, for a user who turned the keyboard path on (read as the band
    // opens); baseline: the focus put in a list and the list dropped.
    std::string settings = config.pluginPath.substr(0, config.pluginPath.size() - 3) + "ini";
    WritePrivateProfileStringA("AppSetting", "ClipList_KeyAccess", "1", settings.c_str());
    host.Command(ID_EXIT_TOOL);
    host.OpenBand();
    times.push_back({"list from the command (keyboard)", 1.5, "the chosen item and a held list looked at first", {}, {}, {}, {}});
    for (int rep = 0; rep < config.commandReps; ++rep) {
        SetFocus(host.App().View());
        Stopwatch command;
        host.App().Plugins()[0].onCommand(host.App().View());
        double ms = command.ElapsedMs();
        Check(results, SendMessageA(host.Combo(), CB_GETDROPPEDSTATE, 0, 0) != 0 && GetFocus() == host.Combo(),
              "the command drops the list with the keyboard in it");
        // It sends the host nothing: all of it is the plug-in's own.
        times.back().total.push_back(ms);
        times.back().own.push_back(ms);
        SendMessageA(host.Combo(), CB_SHOWDROPDOWN, FALSE, 0);
        PumpPending();
        SetFocus(host.App().View());
        Stopwatch watch;
        SetFocus(bareBand.Combo());
        SendMessageA(bareBand.Combo(), CB_SHOWDROPDOWN, TRUE, 0);
        times.back().bare.push_back(watch.ElapsedMs());
        SendMessageA(bareBand.Combo(), CB_SHOWDROPDOWN, FALSE, 0);
        PumpPending();
    }
    SetFocus(host.App().View());
    WritePrivateProfileStringA("AppSetting", "ClipList_KeyAccess", nullptr, settings.c_str());
    CheckNoBoxes(host, results);
    printf("4. single commands, list of about 100 items (own: without the host's handling of its messages)\n");
    for (const Timing& timing : times) {
        results.commands.push_back({timing.name, Summarize(timing.total), Summarize(timing.own), Summarize(timing.bare),
                                    true, timing.limit, timing.why, Summarize(timing.steps), timing.stepsWhat});
        printf("  %-38s %s\n", timing.name, Describe(results.commands.back().total).c_str());
        printf("  %-38s %s\n", "    own", Describe(results.commands.back().own).c_str());
        printf("  %-38s %s\n", "    bare (baseline)", Describe(results.commands.back().bare).c_str());
        if (!timing.steps.empty()) printf("  %-38s %s\n", "    bare extra steps", Describe(results.commands.back().steps).c_str());
    }
    fflush(stdout);
}

void RunClipboard(const BenchConfig& config, BenchResults& results)
{
    BenchHost host(config.pluginPath);
    if (!OpenWithBand(host, results)) return;
    host.Copy("first clipboard text");
    host.Command(ID_SHOW_HISTORY);
    Check(results, host.ItemCount() == 1, "the history view is shown");
    size_t before = host.ClipboardTimes().size();
    int seen = 0;
    for (int i = 0; i < config.clipboardChanges; ++i) {
        std::string text = Format("clipboard change %04d: 漢字かな交じりの文 with some ASCII", i);
        Check(results, host.Copy(text), "the other program copies a text");
        std::vector<std::string> items = host.Items();
        if (!items.empty() && items[0] == text) ++seen;
    }
    std::vector<double> changes(host.ClipboardTimes().begin() + static_cast<long>(before), host.ClipboardTimes().end());
    results.clipboard = Summarize(changes);
    results.clipboardSeen = seen;
    Check(results, host.ItemCount() == (config.clipboardChanges >= 30 ? 30 : config.clipboardChanges + 1),
          "the history view keeps 30 entries");
    std::vector<std::string> shown = host.Items();
    host.Command(ID_SHOW_HISTORY);
    // The bare work of a change, on a list of the same size, in rounds of its own after the band
    // is gone: handled as it is announced, as the plug-in handles it (right then other programs,
    // Wine's own clipboard bridge among them, read the clipboard too).
    host.Command(ID_EXIT_TOOL);
    BareBand bareBand(host.App().Rebar(), host.App().Plugins()[0].module);
    bareBand.Open(shown);
    bareBand.WatchClipboard(true);
    for (int i = 0; i < config.clipboardChanges; ++i) {
        size_t handled = bareBand.ClipboardTimes().size();
        Check(results, host.Copy(Format("clipboard change %04d: 漢字かな交じりの文 with some ASCII", i)),
              "the other program copies a text");
        DWORD start = GetTickCount();
        while (bareBand.ClipboardTimes().size() == handled && GetTickCount() - start < 5000) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            PumpPending();
        }
    }
    Check(results, static_cast<int>(bareBand.ClipboardTimes().size()) == config.clipboardChanges,
          "the bare band hears of every change");
    results.clipboardBare = Summarize(bareBand.ClipboardTimes());
    results.clipboardSteps = Summarize(bareBand.ClipboardStepTimes());
    bareBand.WatchClipboard(false);
    CheckNoBoxes(host, results);
    printf("5. %d clipboard changes in the history view (%d shown on top at once)\n", config.clipboardChanges, seen);
    printf("  one change (WM_CLIPBOARDUPDATE) %s\n", Describe(results.clipboard).c_str());
    printf("  bare (baseline)               %s\n", Describe(results.clipboardBare).c_str());
    printf("  bare extra steps              %s\n", Describe(results.clipboardSteps).c_str());
    fflush(stdout);
}
