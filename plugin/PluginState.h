// The plug-in's process-wide state: one instance per loaded library, used on the host's UI thread only.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CToolTip;

struct PluginState {
    HINSTANCE hInstance = nullptr;
    HWND hostWindow = nullptr;   // host frame: parent of the view, target of host messages
    HWND viewWindow = nullptr;   // the host's view; gets the keyboard focus back
    // The frame and view the band is opened in. The host may name another frame current at any
    // moment (event 0x2000), but every command of the band acts on its own frame's document.
    HWND bandFrame = nullptr;
    HWND bandView = nullptr;
    WPARAM commandId = 0;        // handed back with HOSTMSG_REFRESH_STATUS
    HWND comboWindow = nullptr;
    HWND toolbarWindow = nullptr;
    HWND bandDialog = nullptr;
    HWND paletteWindow = nullptr; // null exactly while no palette exists
    BYTE bandClosed = 1;

    // Modes of the open band.
    BYTE historyShown = 0;
    BYTE keepDropDown = 0;
    BYTE paletteShown = 0;
    BYTE comboMoved = 0;
    RECT lastComboRect = {0, 0, 0, 0};
    // A clipboard change not read yet because another window held the clipboard.
    bool clipboardRetry = false;
    DWORD clipboardSequence = 0;  // the clipboard's sequence number at that change
    int clipboardTries = 0;
    // The last change this band has dealt with (recorded, or judged private or not text).
    bool clipboardHandled = false;
    DWORD handledSequence = 0;
    BYTE nudgeRight = 0;
    bool listSaved = false;      // this band's list has gone to savedItems already
    // The scale the open band is laid out for, the size of its toolbar's pictures, and whether a
    // new layout for a changed scale is on its way (posted).
    UINT layoutDpi = 0;
    int toolbarPictureSize = 0;
    bool relayoutPosted = false;

    // The settings menu's choices (plugin/Options.h), read as each band opens.
    bool keyAccess = false;
    bool recordHistory = true;
    bool keepItems = false;
    // The list dropped by the command: it inserts on Enter, not on every highlight, and the
    // choice it had comes back when it closes without one.
    bool listFromKeyboard = false;
    LRESULT keyboardChoice = -1;

    // What lives on from one band to the next.
    HIMAGELIST bandImageList = nullptr; // the image list we last handed to a rebar
    HIMAGELIST toolbarImages = nullptr; // the open band's scaled toolbar pictures, when it has them
    HFONT listFont = nullptr;    // the open band's list font, when it is not the stock one
    CToolTip* toolTip = nullptr;  // the toolbars' one tooltip object, once the first toolbar made it
    bool listIsPartial = false;  // the clip list holds only part of savedItems: refilling it failed

    // The conversion palette.
    WNDPROC prevPaletteProc = nullptr;
    BYTE hostInactive = 0;
    BYTE selectAllState = 0;
    BYTE alnumForced = 0;
    BYTE alnumSaved = 0;

    // The palette's drag loop.
    HDC dragDC = nullptr;        // the desktop's device context, while a drag draws its outline
    POINT grabOffset = {0, 0};   // the cursor from the palette's top-left corner as the drag began
    SIZE dragSize = {0, 0};      // the palette's size as the drag began
    int dragThickness = 1;       // the outline's width in pixels, for the display's scale
    RECT lastDragRect = {0, 0, 0, 0}; // the outline on the screen; empty when there is none
};

extern PluginState plugin;
