// The toolbar's tooltip window; one object lives for the whole library (see CreateToolBar).
#pragma once
#include <windows.h>
#include "clipbar/ToolBar.h"

class CToolTip {
public:
    CToolTip();
    ~CToolTip();
    CToolTip(const CToolTip&) = delete;
    CToolTip& operator=(const CToolTip&) = delete;

    bool Create(HWND ownerWindow, HINSTANCE module);
    int AddTools(HWND toolbar, const ButtonDef* table);
    void Destroy();

    HWND GetTipWindow() const { return tipWindow; }

private:
    HWND owner;
    HWND tipWindow;
    HINSTANCE instance;
};

// The one CToolTip, null until the first toolbar was made.
CToolTip* ClipBarToolTip();
