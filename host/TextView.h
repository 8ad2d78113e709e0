// The view window: shows the editor's document with caret and selection, and turns keyboard and
// mouse input into editing. Host messages sent to it are passed on to the host.
// Ctrl+Enter opens a line above the caret's line, a command of its own as editors have one, so an
// Enter that arrives with Ctrl held cannot pass for a plain Enter.
#pragma once
#include <windows.h>
#include "host/Editor.h"
#include <string>

class HostFrame;

class TextView {
public:
    static const char kClassName[];

    // Creates the view as a child of `parent`; its frame gets the host messages sent to it.
    HWND Create(HWND parent, HostFrame& host, Editor& editor);
    HWND Window() const { return window; }

    // After the editor changed: scroll the caret into view, move the caret, repaint.
    void Refresh();
    void Copy();
    void Cut();
    void Paste();
    void Undo();
    void SelectAll();

    // Where a position is drawn (top left of its character cell) and which position a client
    // point falls on.
    POINT PointFromPos(TextPos pos) const;
    TextPos PosFromPoint(POINT point) const;
    int LineHeight() const { return lineHeight; }
    int TopLine() const { return topLine; }

private:
    friend LRESULT CALLBACK TextViewProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnKeyDown(WPARAM key);
    void OpenLineAbove();
    void OnChar(unsigned char c);
    void OnMouse(UINT message, LPARAM lParam);
    void OnScroll(int request);
    void Paint(HDC dc, const RECT& area);
    void PaintLine(HDC dc, int line, int y);
    void ScrollTo(int line);
    void UpdateScrollBar();
    void PlaceCaret();
    int VisibleLines() const;
    // Cell index (half-width cells from the line start) of a byte column, and back.
    int CellOf(int line, int column) const;
    int ColumnOfCell(int line, int cell) const;

    HWND window = nullptr;
    HostFrame* host = nullptr;
    Editor* editor = nullptr;
    HFONT font = nullptr;
    int lineHeight = 16;
    int cellWidth = 8;
    int topLine = 0;
    int desiredCell = -1;  // the column kept while moving up and down
    int pendingLead = -1;  // first byte of a double-byte character typed as two WM_CHARs
    bool dragging = false;
    bool hasCaret = false;
};
