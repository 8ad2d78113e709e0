#include "host/TextView.h"
#include "host/Clipboard.h"
#include "host/HostApp.h"
#include "host/HostFrame.h"
#include "common/Sjis.h"
#include <algorithm>

const char TextView::kClassName[] = "VexaroHostView";

namespace {
const int kMargin = 4;
const int kTabCells = 8;
const int kLineGap = 3;
const COLORREF kText = RGB(0, 0, 0);
const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kSelectedText = RGB(255, 255, 255);
const COLORREF kSelectedBackground = RGB(0, 84, 166);

bool KeyDown(int key) { return GetKeyState(key) < 0; }
} // namespace

LRESULT CALLBACK TextViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<TextView*>(create->lpCreateParams);
        self->window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TextView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

HWND TextView::Create(HWND parent, HostFrame& frame, Editor& edited)
{
    host = &frame;
    editor = &edited;
    topLine = 0;
    desiredCell = -1;
    pendingLead = -1;
    dragging = false;
    hasCaret = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TextViewProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32513)); // IDC_IBEAM
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc); // fails harmlessly when a former instance registered it
    font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック");
    HWND created = CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPSIBLINGS,
                                   0, 0, 100, 100, parent, nullptr, instance, this);
    if (created == nullptr) return nullptr;
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SIZE size;
    GetTextExtentPoint32A(dc, "0", 1, &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    // A little air between lines keeps kanji of neighbouring lines apart.
    lineHeight = std::max<int>(metrics.tmHeight + metrics.tmExternalLeading + kLineGap, 1);
    cellWidth = std::max<int>(size.cx, 1);
    UpdateScrollBar();
    return window;
}

int TextView::CellOf(int line, int column) const
{
    const std::string& text = editor->Doc().Line(line);
    int cell = 0;
    for (int i = 0; i < column && i < static_cast<int>(text.size());) {
        int length = static_cast<int>(SjisCharLength(text.c_str() + i));
        cell = text[i] == '\t' ? (cell / kTabCells + 1) * kTabCells : cell + length;
        i += length;
    }
    return cell;
}

int TextView::ColumnOfCell(int line, int cell) const
{
    const std::string& text = editor->Doc().Line(line);
    int at = 0;
    int i = 0;
    while (i < static_cast<int>(text.size())) {
        int length = static_cast<int>(SjisCharLength(text.c_str() + i));
        int next = text[i] == '\t' ? (at / kTabCells + 1) * kTabCells : at + length;
        // A point on the right half of a character belongs to the position behind it.
        if (cell * 2 < at + next) break;
        at = next;
        i += length;
    }
    return i;
}

POINT TextView::PointFromPos(TextPos pos) const
{
    return {kMargin + CellOf(pos.line, pos.column) * cellWidth, (pos.line - topLine) * lineHeight};
}

TextPos TextView::PosFromPoint(POINT point) const
{
    int line = topLine + (point.y >= 0 ? point.y / lineHeight : -1);
    line = std::max(0, std::min(line, editor->Doc().LineCount() - 1));
    int x = point.x - kMargin;
    int cell = x <= 0 ? 0 : (x * 2 + cellWidth) / (cellWidth * 2);
    return {line, ColumnOfCell(line, cell)};
}

int TextView::VisibleLines() const
{
    RECT client;
    GetClientRect(window, &client);
    return std::max<int>(1, (client.bottom - client.top) / lineHeight);
}

void TextView::UpdateScrollBar()
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = editor->Doc().LineCount() - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = topLine;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void TextView::ScrollTo(int line)
{
    int last = std::max(0, editor->Doc().LineCount() - VisibleLines());
    line = std::max(0, std::min(line, last));
    if (line == topLine) return;
    topLine = line;
    UpdateScrollBar();
    PlaceCaret();
    InvalidateRect(window, nullptr, FALSE);
}

void TextView::PlaceCaret()
{
    if (!hasCaret) return;
    POINT at = PointFromPos(editor->Caret());
    SetCaretPos(at.x, at.y);
}

void TextView::Refresh()
{
    if (window == nullptr) return;
    // A document that got shorter may leave the old top line past its end.
    topLine = std::min(topLine, std::max(0, editor->Doc().LineCount() - 1));
    int caretLine = editor->Caret().line;
    if (caretLine < topLine) topLine = caretLine;
    else if (caretLine >= topLine + VisibleLines()) topLine = caretLine - VisibleLines() + 1;
    UpdateScrollBar();
    PlaceCaret();
    InvalidateRect(window, nullptr, FALSE);
}

void TextView::Copy()
{
    if (editor->HasSelection()) PutClipboardText(window, editor->SelectedText());
}

void TextView::Cut()
{
    if (!editor->HasSelection()) return;
    if (PutClipboardText(window, editor->SelectedText())) editor->DeleteSelection();
    Refresh();
}

void TextView::Paste()
{
    std::string text;
    if (GetClipboardText(window, text) && !text.empty()) editor->Insert(text, true);
    Refresh();
}

void TextView::Undo()
{
    editor->Undo();
    Refresh();
}

void TextView::SelectAll()
{
    editor->SelectAll();
    Refresh();
}

// Ctrl+Enter, the view's own command: a new empty line above the caret's line, the caret on it.
// TranslateMessage has already posted the line feed (0x0A) this keystroke types; it is taken out
// of the queue so that it does not break the line as well. A line feed typed otherwise (Ctrl+J)
// still does.
void TextView::OpenLineAbove()
{
    MSG typed;
    if (PeekMessageA(&typed, window, WM_CHAR, WM_CHAR, PM_NOREMOVE | PM_NOYIELD) && typed.wParam == '\n')
        PeekMessageA(&typed, window, WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD);
    int line = editor->Caret().line;
    editor->MoveCaret({line, 0}, false);
    editor->Insert("\r\n", false);
    editor->MoveCaret({line, 0}, false);
    desiredCell = -1;
    Refresh();
}

void TextView::OnKeyDown(WPARAM key)
{
    bool shift = KeyDown(VK_SHIFT);
    bool control = KeyDown(VK_CONTROL);
    const Document& doc = editor->Doc();
    TextPos caret = editor->Caret();
    TextPos to = caret;
    bool vertical = false;
    switch (key) {
    case VK_LEFT:
        to = editor->HasSelection() && !shift ? editor->SelectionStart() : doc.Previous(caret);
        break;
    case VK_RIGHT:
        to = editor->HasSelection() && !shift ? editor->SelectionEnd() : doc.Next(caret);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        int step = key == VK_UP || key == VK_DOWN ? 1 : VisibleLines();
        int line = caret.line + (key == VK_UP || key == VK_PRIOR ? -step : step);
        line = std::max(0, std::min(line, doc.LineCount() - 1));
        if (desiredCell < 0) desiredCell = CellOf(caret.line, caret.column);
        to = {line, ColumnOfCell(line, desiredCell)};
        vertical = true;
        break;
    }
    case VK_HOME:
        to = control ? TextPos{} : TextPos{caret.line, 0};
        break;
    case VK_END:
        to = control ? doc.End() : TextPos{caret.line, doc.LineLength(caret.line)};
        break;
    case VK_BACK:
        editor->Backspace();
        break;
    case VK_DELETE:
        editor->DeleteForward();
        break;
    default:
        if (!control) return;
        switch (key) {
        case 'A': SelectAll(); return;
        case 'C': Copy(); return;
        case 'X': Cut(); return;
        case 'V': Paste(); return;
        case 'Z': Undo(); return;
        case VK_RETURN: OpenLineAbove(); return;
        default: return;
        }
    }
    if (key != VK_BACK && key != VK_DELETE) editor->MoveCaret(to, shift);
    if (!vertical) desiredCell = -1;
    Refresh();
}

void TextView::OnChar(unsigned char c)
{
    // A byte below 0x40 cannot complete a double-byte character: the lone lead byte is dropped.
    if (pendingLead >= 0 && c < 0x40) pendingLead = -1;
    if (pendingLead >= 0) {
        std::string pair{static_cast<char>(pendingLead), static_cast<char>(c)};
        pendingLead = -1;
        editor->Insert(pair, true);
    } else if (SjisIsLeadByte(c)) {
        pendingLead = c;
        return;
    } else if (c == '\r' || c == '\n') { // Enter, and the LF of Ctrl+J
        editor->Insert("\r\n", true);
    } else if (c == '\t' || (c >= 0x20 && c != 0x7F)) {
        editor->Insert(std::string(1, static_cast<char>(c)), true);
    } else {
        return; // control characters of Ctrl+letter, Backspace and Escape
    }
    desiredCell = -1;
    Refresh();
}

void TextView::OnMouse(UINT message, LPARAM lParam)
{
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (message == WM_LBUTTONDOWN) {
        SetFocus(window);
        editor->MoveCaret(PosFromPoint(point), KeyDown(VK_SHIFT));
        SetCapture(window);
        dragging = true;
    } else if (message == WM_MOUSEMOVE) {
        if (!dragging) return;
        editor->MoveCaret(PosFromPoint(point), true);
    } else if (message == WM_LBUTTONUP) {
        if (!dragging) return;
        dragging = false;
        ReleaseCapture();
    }
    desiredCell = -1;
    Refresh();
}

void TextView::OnScroll(int request)
{
    int line = topLine;
    switch (request) {
    case SB_LINEUP: --line; break;
    case SB_LINEDOWN: ++line; break;
    case SB_PAGEUP: line -= VisibleLines(); break;
    case SB_PAGEDOWN: line += VisibleLines(); break;
    case SB_TOP: line = 0; break;
    case SB_BOTTOM: line = editor->Doc().LineCount(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(window, SB_VERT, &info);
        line = info.nTrackPos;
        break;
    }
    default: return;
    }
    ScrollTo(line);
}

void TextView::PaintLine(HDC dc, int line, int y)
{
    const std::string& text = editor->Doc().Line(line);
    int length = static_cast<int>(text.size());
    // The selected byte range of this line; a selected line break shows as one selected cell.
    int selFrom = 0, selTo = 0;
    bool breakSelected = false;
    if (editor->HasSelection()) {
        TextPos start = editor->SelectionStart();
        TextPos end = editor->SelectionEnd();
        if (start.line <= line && line <= end.line) {
            selFrom = start.line == line ? start.column : 0;
            selTo = end.line == line ? end.column : length;
            breakSelected = line < end.line;
        }
    }
    int cell = 0;
    int i = 0;
    while (i < length) {
        bool selected = i >= selFrom && i < selTo;
        // A run of characters drawn in one call: same colours, no tab inside.
        int runStart = i;
        int runCell = cell;
        while (i < length && text[i] != '\t' && (i >= selFrom && i < selTo) == selected) {
            int step = static_cast<int>(SjisCharLength(text.c_str() + i));
            cell += step;
            i += step;
        }
        if (i == runStart) { // a tab
            cell = (cell / kTabCells + 1) * kTabCells;
            ++i;
        }
        RECT box = {kMargin + runCell * cellWidth, y, kMargin + cell * cellWidth, y + lineHeight};
        SetTextColor(dc, selected ? kSelectedText : kText);
        SetBkColor(dc, selected ? kSelectedBackground : kBackground);
        bool tab = text[runStart] == '\t';
        ExtTextOutA(dc, box.left, y + 1, ETO_OPAQUE | ETO_CLIPPED, &box, tab ? "" : text.c_str() + runStart,
                    tab ? 0 : static_cast<UINT>(i - runStart), nullptr);
    }
    if (breakSelected) {
        RECT box = {kMargin + cell * cellWidth, y, kMargin + (cell + 1) * cellWidth, y + lineHeight};
        SetBkColor(dc, kSelectedBackground);
        ExtTextOutA(dc, box.left, y, ETO_OPAQUE, &box, "", 0, nullptr);
    }
}

void TextView::Paint(HDC target, const RECT& area)
{
    RECT client;
    GetClientRect(window, &client);
    // Drawn off screen first so typing does not flicker.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);
    int lines = editor->Doc().LineCount();
    for (int line = topLine, y = 0; line < lines && y < client.bottom; ++line, y += lineHeight)
        PaintLine(dc, line, y);
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left, area.top, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

LRESULT TextView::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= kFirstHostMessage && message <= kLastHostMessage)
        return host->HandleHostMessage(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        Paint(dc, ps.rcPaint);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        UpdateScrollBar();
        ScrollTo(topLine);
        return 0;
    case WM_SETFOCUS:
        hasCaret = CreateCaret(window, nullptr, 2, lineHeight) != 0;
        PlaceCaret();
        ShowCaret(window);
        return 0;
    case WM_KILLFOCUS:
        if (hasCaret) DestroyCaret();
        hasCaret = false;
        pendingLead = -1;
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_CHAR:
        OnChar(static_cast<unsigned char>(wParam));
        return 0;
    case WM_IME_CHAR:
        // An ANSI window gets a double-byte character in one message, lead byte high.
        if (wParam > 0xFF) OnChar(static_cast<unsigned char>(wParam >> 8));
        OnChar(static_cast<unsigned char>(wParam & 0xFF));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnMouse(WM_LBUTTONDOWN, lParam);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        OnMouse(message, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        dragging = false;
        return 0;
    case WM_VSCROLL:
        OnScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(topLine - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3);
        return 0;
    case WM_DESTROY:
        if (font != nullptr) DeleteObject(font);
        font = nullptr;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
