// The clip bar's windows built, changed and taken down with bare Win32 calls, in the host's own
// rebar and from the plug-in's own resources: what each of the band's commands costs the system
// at the least. Timed in the same rounds as the plug-in, so that a loaded machine slows both.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

// The steps of building the band, in ms, as both the plug-in and the bare build take them.
struct BandSteps {
    double dialog = 0;    // the invisible dialog (and its WM_INITDIALOG)
    double before = 0;    // what the command does before it makes a window
    double toolbar = 0;   // the toolbar with its buttons and bitmap
    double tips = 0;      // the tooltip window and its tools
    double styling = 0;   // the toolbar's style, separators and pictures
    double combo = 0;     // the combo box, its font and heights
    double image = 0;     // the band's picture given to the rebar
    double insert = 0;    // the band inserted into the rebar, with the host's relayout
    double rest = 0;      // the list filled and whatever else the command does after
    double Total() const { return before + dialog + toolbar + tips + styling + combo + image + insert + rest; }
};

// Marks the bare band's dialog, which sits among the rebar's children beside the plug-in's.
extern const char kBareBandProperty[];

class BareBand {
public:
    BareBand(HWND rebar, HMODULE resources);
    ~BareBand();
    BareBand(const BareBand&) = delete;
    BareBand& operator=(const BareBand&) = delete;

    // Builds the band with `items` in its list; returns ms.
    double Open(const std::vector<std::string>& items, BandSteps* steps = nullptr);
    // Reads the items out and destroys the windows; returns ms.
    double Close(std::vector<std::string>* items = nullptr);
    // Reads the list's items out, as a close or a switch to the history view keeps them; returns ms.
    double ReadItems(std::vector<std::string>* items = nullptr);
    bool IsOpen() const { return dialog != nullptr; }
    HWND Combo() const { return combo; }

    // The list emptied and filled with `texts` (the history view on or off); returns ms.
    double Refill(const std::vector<std::string>& texts);
    // Toolbar buttons enabled, or greyed and marked indeterminate, and a button checked or not:
    // the toolbar's side of the history view and the hold, done directly; return ms.
    double SetButtons(const int* ids, int count, bool enable);
    double CheckButton(int id, bool checked);
    // The list dropped down and placed (hold on), or closed up (hold off); returns ms.
    double Hold(bool on);
    // What the hold does beyond that: the dropped list closed and shown again as a plain window
    // (on); that window hidden (off, the hold's end); returns ms.
    double HoldSteps(bool on);
    // The clipboard read, its text put on top of the list and the oldest beyond `keep` dropped,
    // the notice passed on to `next`; returns ms.
    double ClipboardChange(HWND owner, int keep);
    // What a change needs beyond that: the clipboard's formats listed (a private one is not
    // recorded) and an entry equal to the text looked for; returns ms.
    double ClipboardSteps();
    // Listens for clipboard changes (or stops): each change is then handled as it is announced,
    // the moment the plug-in handles it too, and timed into ClipboardTimes (and its
    // extra steps into ClipboardStepTimes). Both start empty.
    void WatchClipboard(bool on);
    const std::vector<double>& ClipboardTimes() const { return clipboardMs; }
    const std::vector<double>& ClipboardStepTimes() const { return clipboardStepsMs; }
    void OnClipboardChange();
    // The palette's dialog made, moved to `place` (where a palette was last closed) and shown
    // without activation; then destroyed. Both return ms.
    double OpenPalette(HWND owner, POINT place);
    double ClosePalette();

private:
    HWND rebar;
    HMODULE resources;
    // The bare band's windows, its pictures and the rebar's own.
    HWND dialog = nullptr, toolbar = nullptr, tip = nullptr, combo = nullptr, palette = nullptr;
    HIMAGELIST bandImages = nullptr, previousImages = nullptr;
    double formatsMs = 0; // the last change's search for the copier's text format
    std::vector<double> clipboardMs, clipboardStepsMs;
};
