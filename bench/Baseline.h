// The bare Win32 work of showing N strings: a combo box of the clip list's style filled with
// them, redraw off. Whatever the plug-in does on top of this is its own cost.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class BareCombo {
public:
    BareCombo();
    ~BareCombo();
    BareCombo(const BareCombo&) = delete;
    BareCombo& operator=(const BareCombo&) = delete;

    // Empties the box, then times filling it with `texts` in order; returns ms.
    double Fill(const std::vector<std::string>& texts);
    int Count() const;

private:
    HWND owner = nullptr;
    HWND combo = nullptr;
};

// How fast the system's window work is right now: creating and destroying a toolbar with a combo
// box of the clip list's style and a tooltip window, the median of several, in ms. Under Wine on
// a shared machine this varies severalfold over minutes; the run reports it at start and end.
double WindowWorkMs();
