// The sample host with Vexaro.dll loaded in-process, and the user's commands on its clip bar,
// sent the way the toolbar and the clip list send them.
#pragma once
#include "host/HostApp.h"
#include "bench/Copier.h"
#include "support/MessageBoxHook.h"
#include "support/Pump.h"
#include <memory>
#include <string>
#include <vector>

// Messages of the band dialog timed as its procedure handles them.
class BandMessageTimer {
public:
    BandMessageTimer() = default;
    ~BandMessageTimer() { Detach(); }
    void Attach(HWND dialog);
    void Detach();
    std::vector<double> destroyMs;
    std::vector<double> clipboardMs;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND dialog = nullptr;
    WNDPROC original = nullptr;
};

class BenchHost {
public:
    explicit BenchHost(const std::string& pluginPath);
    ~BenchHost();
    BenchHost(const BenchHost&) = delete;
    BenchHost& operator=(const BenchHost&) = delete;

    bool Open(std::string& error);
    void Close();
    HostApp& App() { return host; }

    // The plug-in's command (the band opens); returns the time OnCommand took.
    double OpenBand();
    bool BandOpen();
    // The host's event 0x800: the plug-in forgets its saved items and its clipboard history.
    void ForgetSavedItems();
    HWND Toolbar();
    HWND Combo();
    HWND BandDialog();
    HWND Palette();

    // A toolbar command as the toolbar passes it to the band; returns its time in ms.
    double Command(int id);
    // The user picks item `index` from the list; returns the time of the insertion in ms.
    double Choose(int index);
    // The time the host spent on host messages (2048 to 2200) during the last Command or Choose,
    // in ms: the host's own work, which the plug-in asks for and waits on.
    double LastHostMs() const { return lastHostMs; }
    // The same captures and insertions done with the host messages they need sent directly, the
    // text put on top of `combo` and chosen, an equal item removed (or, for an insertion, read from its item `index`); with a
    // `palette`, its ticks read and the inserted text converted. Return ms, the host's work in.
    enum BareKind { kToCaret, kFromCaret, kSelection, kLine };
    double BareCapture(BareKind kind, HWND combo);
    // The host messages a capture sends beyond the bare ones, sent right after a bare capture of
    // the same kind: the status cleared, for the selection Ctrl's state read, and for a caret range
    // both ends converted and the selection set a second time. Returns ms, the host's work in.
    double BareCaptureSteps(BareKind kind);
    double BareInsert(HWND combo, int index, HWND palette);
    // Ctrl + "save the selection" on a document that is all selected; returns ms.
    double SplitCapture(const std::string& document);
    std::vector<std::string> Items();
    int ItemCount();

    void SetDocument(const std::string& text);
    void SelectAll();
    void SetCaret(int line, int column);
    void SetCtrl(bool down);
    // Another program puts a text on the clipboard; returns once the band has handled it (at
    // once when no band is open).
    bool Copy(const std::string& text);
    // The band's handling of its messages, timed since the host opened (ms).
    const std::vector<double>& DestroyTimes() const { return bandTimer.destroyMs; }
    const std::vector<double>& ClipboardTimes() const { return bandTimer.clipboardMs; }
    void EmptyClipboardNow();
    // Host log entries and undo steps pile up with every command; the benchmark drops them.
    void ForgetHostHistory();
    // The band's timings above grow by one entry per close and per clipboard change; a
    // measurement of memory drops them so that it sees the plug-in's, not its own.
    void ForgetTimes();

    // The plug-in's message boxes, answered without a window (Yes for a question when queued).
    MessageBoxHook& Boxes() { return *boxes; }

private:
    void WatchHostMessages();
    std::string pluginPath;
    HostApp host;
    double lastHostMs = 0;
    std::unique_ptr<MessageBoxHook> boxes;
    ClipboardCopier copier;
    BandMessageTimer bandTimer;
};
