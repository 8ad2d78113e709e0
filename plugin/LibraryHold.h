// Keeps the library loaded while windows that run its code exist. A host may free the library
// with the bar open (the user removes the plug-in, or the host ends before its windows do); the
// band dialog, the toolbar's subclass, the palette's procedures and the tooltips' texts would
// then point into unmapped memory. Each such window holds a reference to the library until its
// WM_NCDESTROY; after the last one, the reference is given back from a short thread, once the
// editor's thread has left every procedure of ours.
#pragma once
#include <windows.h>

// `window` runs our code until its WM_NCDESTROY. Called on the editor's thread.
void HoldLibraryFor(HWND window);
// From `window`'s WM_NCDESTROY; nothing for a window that holds nothing.
void ReleaseLibraryFor(HWND window);

// On the stack of every procedure through which the window system or the host enters our code.
// The reference is never given back while one runs: a message box or drag loop of ours may see
// the bar's last window go, and the editor's thread must come back through our code after it.
class LibraryInUse {
public:
    LibraryInUse();
    ~LibraryInUse();
    LibraryInUse(const LibraryInUse&) = delete;
    LibraryInUse& operator=(const LibraryInUse&) = delete;
};
