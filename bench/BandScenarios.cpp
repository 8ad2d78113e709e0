// Items 1 to 3: opening and closing the band with N saved items, and the Ctrl split.
#include "bench/BareBand.h"
#include "bench/Baseline.h"
#include "bench/Steps.h"
#include "bench/BenchHost.h"
#include "bench/Scenarios.h"
#include "res/resource.h"
#include <cstdio>

std::vector<std::string> NumberedItems(int count, const char* format)
{
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) items.push_back(Format(format, i));
    return items;
}

std::vector<std::string> Documents(const std::vector<std::string>& lines, size_t limit)
{
    std::vector<std::string> documents(1);
    for (const std::string& line : lines) {
        if (documents.back().size() + line.size() + 2 > limit) documents.emplace_back();
        documents.back() += line + "\r\n";
    }
    return documents;
}

std::vector<std::string> ShortLines(int count)
{
    static const char kChars[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    const int base = sizeof kChars - 1;
    std::vector<std::string> lines;
    for (int i = 0; i < count && i < base * base; ++i) lines.push_back({kChars[i / base], kChars[i % base]});
    return lines;
}

void Check(BenchResults& results, bool ok, const std::string& what)
{
    if (!ok) {
        results.failures.push_back(what);
        printf("  CHECK FAILED: %s\n", what.c_str());
    }
}

bool OpenWithBand(BenchHost& host, BenchResults& results)
{
    std::string error;
    bool opened = host.Open(error);
    Check(results, opened, "the host opens with the plug-in: " + error);
    if (opened) host.OpenBand();
    Check(results, !opened || host.BandOpen(), "the band opens");
    return opened && host.BandOpen();
}

void CheckNoBoxes(BenchHost& host, BenchResults& results)
{
    for (const MessageBoxRecord& box : host.Boxes().Boxes()) Check(results, false, "a message box: " + box.text);
    host.Boxes().Clear();
}

// The saved items, put into the clip list with the plug-in's own Ctrl split.
static void FillBySplits(BenchHost& host, const std::vector<std::string>& texts)
{
    for (const std::string& document : Documents(texts, 5000)) host.SplitCapture(document);
}

// Splits a 5000-byte selection of short distinct lines into a list that holds `before` items,
// then the same selection again; the expected list is the lines on top of the earlier items.
static void TimeSplits(BenchHost& host, BenchResults& results, std::vector<double>& first, std::vector<double>& again)
{
    std::vector<std::string> lines = ShortLines(1250);
    std::string document = Documents(lines, 5000).at(0);
    std::vector<std::string> before = host.Items();
    std::vector<std::string> expected = lines;
    expected.insert(expected.end(), before.begin(), before.end());
    first.push_back(host.SplitCapture(document));
    Check(results, host.Items() == expected, "the first split gives the lines on top of the earlier items");
    again.push_back(host.SplitCapture(document));
    Check(results, host.Items() == expected, "the second split leaves the same list");
}

void RunOpenClose(const BenchConfig& config, BenchResults& results)
{
    for (int n : config.sizes) {
        BenchHost host(config.pluginPath);
        if (!OpenWithBand(host, results)) return;
        std::vector<std::string> texts = NumberedItems(n, "item%05d");
        FillBySplits(host, texts);
        std::vector<std::string> items = host.Items();
        Check(results, static_cast<int>(items.size()) == n, Format("%d items saved", n));

        // Each round: close and reopen with the items, the bare fill, then close, forget the items
        // and open with nothing saved (the band's own construction), and save the items again.
        // Interleaved, so that the three are timed under the same load.
        BareCombo bare;
        BareBand bareBand(host.App().Rebar(), host.App().Plugins()[0].module);
        std::vector<double> open, destroy, exit, fill, empty, bareOpen, bareClose, bareEmpty, net;
        for (int rep = 0; rep < config.bandReps; ++rep) {
            size_t closed = host.DestroyTimes().size();
            exit.push_back(host.Command(ID_EXIT_TOOL));
            Check(results, !host.BandOpen() && host.DestroyTimes().size() == closed + 1, "the exit button closes the band");
            if (host.DestroyTimes().size() > closed) destroy.push_back(host.DestroyTimes().back());
            // The bare band in the same rebar, while the plug-in's is away, with the same items.
            BandSteps bareSteps;
            bareOpen.push_back(bareBand.Open(items, &bareSteps));
            std::vector<std::string> readOut;
            bareClose.push_back(bareBand.Close(&readOut));
            Check(results, readOut.size() == items.size(), "the bare band holds the same items");
            // Traced, so that what follows the band's insertion (the refill among it) is known.
            ConstructionTrace openTrace(host.App().Rebar());
            openTrace.Start();
            open.push_back(host.OpenBand());
            BandSteps openSteps;
            bool traced = openTrace.Stop(openSteps);
            Check(results, host.Items() == items, Format("the reopened band shows the %d items in order", n));
            fill.push_back(bare.Fill(items));
            host.Command(ID_EXIT_TOOL);
            host.ForgetSavedItems();
            ConstructionTrace trace(host.App().Rebar());
            trace.Start();
            empty.push_back(host.OpenBand());
            BandSteps steps;
            bool emptyTraced = trace.Stop(steps);
            if (emptyTraced) results.pluginSteps.push_back(steps);
            // The items' share: the same part of both openings, one with the items and one without.
            if (traced && emptyTraced) net.push_back(openSteps.rest - steps.rest);
            Check(results, host.ItemCount() == 0, "nothing saved after event 0x800");
            // The bare empty band, too, in a rebar without the plug-in's band.
            host.Command(ID_EXIT_TOOL);
            bareEmpty.push_back(bareBand.Open({}, &bareSteps));
            results.bareSteps.push_back(bareSteps);
            bareBand.Close();
            host.OpenBand();
            FillBySplits(host, texts);
        }
        BenchResults::Size size{n, Summarize(open), Summarize(fill), Summarize(empty), Summarize(destroy), Summarize(exit),
                                Summarize(bareOpen), Summarize(bareClose), Summarize(bareEmpty), Summarize(net)};
        results.sizes.push_back(size);
        CheckNoBoxes(host, results);
        printf("N = %d\n", n);
        printf("  1. open band (OnCommand)   %s\n", Describe(size.open).c_str());
        printf("     bare band (baseline)    %s\n", Describe(size.bareOpen).c_str());
        printf("     bare fill               %s\n", Describe(size.bare).c_str());
        printf("     ratio open/bare band %.2f, open/bare fill %.2f, open per item %.3f us\n",
               size.open.median / size.bareOpen.median, size.open.median / size.bare.median, size.open.median * 1000.0 / n);
        printf("     nothing saved           %s\n", Describe(size.empty).c_str());
        printf("     bare band, nothing      %s\n", Describe(size.bareEmpty).c_str());
        printf("     the items' share        %s\n", Describe(size.net).c_str());
        printf("     the refill: (open - nothing saved) / bare fill %.2f; the items' share / bare fill %.2f\n",
               (size.open.median - size.empty.median) / size.bare.median, size.net.median / size.bare.median);
        printf("  2. close band (WM_DESTROY) %s\n", Describe(size.destroy).c_str());
        printf("     exit button, all of it  %s\n", Describe(size.exit).c_str());
        printf("     bare close (baseline)   %s\n", Describe(size.bareClose).c_str());

        if (n == config.sizes.back()) {
            // The split once more, over the largest list.
            std::vector<double> first, again;
            TimeSplits(host, results, first, again);
            results.largeItems = n;
            results.splitOverLarge = Summarize(first);
            results.splitOverLargeAgain = Summarize(again);
            printf("  3c. Ctrl split over %d items %s\n", n, Describe(results.splitOverLarge).c_str());
            printf("  3d. the same again          %s\n", Describe(results.splitOverLargeAgain).c_str());
        }
        fflush(stdout);
    }
}

void RunSplit(const BenchConfig& config, BenchResults& results)
{
    BenchHost host(config.pluginPath);
    if (!OpenWithBand(host, results)) return;
    std::vector<std::string> lines = ShortLines(1250);
    results.splitLines = static_cast<int>(lines.size());
    BareCombo bare;
    std::vector<double> first, again, fill;
    for (int rep = 0; rep < config.splitReps; ++rep) {
        SendMessageA(host.Combo(), CB_RESETCONTENT, 0, 0);
        TimeSplits(host, results, first, again);
        fill.push_back(bare.Fill(lines));
    }
    results.splitFirst = Summarize(first);
    results.splitAgain = Summarize(again);
    results.splitBare = Summarize(fill);
    CheckNoBoxes(host, results);
    printf("3. Ctrl split of 5000 bytes, %d lines\n", results.splitLines);
    printf("  into an empty list         %s\n", Describe(results.splitFirst).c_str());
    printf("  again (all already there)  %s\n", Describe(results.splitAgain).c_str());
    printf("  bare fill (baseline)       %s\n", Describe(results.splitBare).c_str());
    printf("  ratios %.2f and %.2f\n", results.splitFirst.median / results.splitBare.median,
           results.splitAgain.median / results.splitBare.median);
    fflush(stdout);
}

