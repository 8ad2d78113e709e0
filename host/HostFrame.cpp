#include "host/HostFrame.h"
#include "common/Dpi.h"
#include "host/HostApp.h"
#include "host/HostRebar.h"
#include "common/Sjis.h"
#include <commctrl.h>
#include <commdlg.h>
#include <cstdio>

namespace {
const char kFrameClass[] = "VexaroHostFrame";
const char kPluginMenuTitle[] = "プラグイン(&P)";
// Each further frame opens this much lower and to the right of the one before.
const int kFrameOffset = 30;

// The first line of a plug-in's status text; the rest is a shorter form for tooltips.
std::string FirstLine(const std::string& text)
{
    const char* cr = SjisFindFirst(text.c_str(), '\r');
    const char* lf = SjisFindFirst(text.c_str(), '\n');
    const char* end = cr != nullptr && (lf == nullptr || cr < lf) ? cr : lf;
    return end != nullptr ? text.substr(0, end - text.c_str()) : text;
}
} // namespace

LRESULT CALLBACK HostFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<HostFrame*>(create->lpCreateParams);
        self->frame = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<HostFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        // Last use of `self`: the host may free the frame from now on.
        self->OnWindowGone();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->FrameMessage(window, message, wParam, lParam);
}

bool HostFrame::Create(const HostOptions& given, int number, const std::string& text, std::string& error)
{
    options = given;
    fileName.clear();
    statusText.clear();
    menuStatusShown = false;
    if (!CreateWindows(number)) {
        error = "cannot create the host window";
        return false;
    }
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, frame,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    // The view first, the rebar after it: a plug-in finds the rebar among the view's next siblings.
    if (view.Create(frame, *this, editor) == nullptr) {
        error = "cannot create the view";
        return false;
    }
    if (options.rebarMode == RebarMode::Present) CreateRebar();
    editor.Load(text);
    UpdateTitle();
    Layout();
    return true;
}

bool HostFrame::CreateWindows(int number)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostFrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));     // IDI_APPLICATION
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc); // fails harmlessly when a former instance registered it

    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, IDM_NEW_FRAME, "新しいウィンドウ(&N)");
    AppendMenuA(file, MF_STRING, IDM_OPEN, "開く(&O)...");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, IDM_CLOSE_FRAME, "閉じる(&C)");
    AppendMenuA(file, MF_STRING, IDM_EXIT, "終了(&X)");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, IDM_UNDO, "元に戻す(&U)\tCtrl+Z");
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(edit, MF_STRING, IDM_CUT, "切り取り(&T)\tCtrl+X");
    AppendMenuA(edit, MF_STRING, IDM_COPY, "コピー(&C)\tCtrl+C");
    AppendMenuA(edit, MF_STRING, IDM_PASTE, "貼り付け(&P)\tCtrl+V");
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(edit, MF_STRING, IDM_SELECT_ALL, "すべて選択(&A)\tCtrl+A");
    pluginMenu = CreatePopupMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "ファイル(&F)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "編集(&E)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(pluginMenu), kPluginMenuTitle);

    int offset = 40 + kFrameOffset * ((number - 1) % 8);
    // 820 x 560 as a 96-DPI screen sees it: the host is DPI aware, so the system scales nothing.
    UINT dpi = WindowDpi(nullptr);
    HWND created = CreateWindowExA(0, kFrameClass, "VexaroHost", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, offset,
                                   offset, ScaleForDpi(820, dpi), ScaleForDpi(560, dpi), nullptr, bar, instance, this);
    if (created == nullptr) {
        DestroyMenu(bar);
        pluginMenu = nullptr;
        return false;
    }
    return true;
}

void HostFrame::OnWindowGone()
{
    frame = nullptr;
    rebar = nullptr;
    statusBar = nullptr;
    pluginMenu = nullptr;
    app.FrameGone(*this);
}

bool HostFrame::OpenFile(const std::string& path, std::string& error)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot open " + path;
        return false;
    }
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    fclose(file);
    editor.Load(text);
    fileName = path;
    UpdateTitle();
    SetRebarLabel(rebar, DocumentName());
    view.Refresh();
    return true;
}

std::string HostFrame::DocumentName() const
{
    if (fileName.empty()) return "(無題)";
    // The file's own name, after the last separator; a CP932 trail byte can look like '\\'.
    const char* slash = SjisFindLast(fileName.c_str(), '\\');
    const char* forward = SjisFindLast(fileName.c_str(), '/');
    if (forward != nullptr && (slash == nullptr || forward > slash)) slash = forward;
    return slash != nullptr ? slash + 1 : fileName;
}

bool HostFrame::CreateRebar()
{
    if (rebar != nullptr && IsWindow(rebar)) return true;
    if (options.rebarMode == RebarMode::Never || frame == nullptr) return false;
    rebar = CreateHostRebar(frame, options.ownBand, DocumentName());
    Layout();
    return rebar != nullptr;
}

void HostFrame::Layout()
{
    if (frame == nullptr) return;
    RECT client;
    GetClientRect(frame, &client);
    int statusHeight = 0;
    if (statusBar != nullptr) {
        SendMessageA(statusBar, WM_SIZE, 0, 0);
        RECT box;
        GetWindowRect(statusBar, &box);
        statusHeight = box.bottom - box.top;
    }
    int top = 0;
    if (rebar != nullptr && IsWindow(rebar)) {
        SendMessageA(rebar, WM_SIZE, 0, 0);
        RECT box;
        GetWindowRect(rebar, &box);
        top = box.bottom - box.top;
    }
    int height = client.bottom - top - statusHeight;
    if (View() != nullptr) MoveWindow(View(), 0, top, client.right, height > 0 ? height : 0, TRUE);
}

void HostFrame::SetStatusText(const std::string& text)
{
    statusText = text;
    if (statusBar != nullptr) SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string HostFrame::StatusText() const
{
    if (statusBar == nullptr) return "";
    char text[1024] = "";
    LRESULT length = SendMessageA(statusBar, SB_GETTEXTLENGTHA, 0, 0) & 0xFFFF;
    if (length >= static_cast<LRESULT>(sizeof text)) return statusText;
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

void HostFrame::BuildPluginMenu()
{
    if (pluginMenu == nullptr) return;
    while (GetMenuItemCount(pluginMenu) > 0) DeleteMenu(pluginMenu, 0, MF_BYPOSITION);
    const std::vector<LoadedPlugin>& plugins = app.Plugins();
    if (plugins.empty()) {
        AppendMenuA(pluginMenu, MF_STRING | MF_GRAYED, 0, "(プラグインなし)");
    }
    for (const LoadedPlugin& plugin : plugins) {
        // The first nine commands have shortcuts, Ctrl+1 to Ctrl+9 (HostApp::TranslateShortcut).
        std::string text = plugin.menuText;
        UINT number = plugin.commandId - kFirstPluginCommand + 1;
        if (number <= 9) text += "\tCtrl+" + std::to_string(number);
        AppendMenuA(pluginMenu, MF_STRING, plugin.commandId, text.c_str());
        if (plugin.bitmap != nullptr) {
            MENUITEMINFOA item = {};
            item.cbSize = sizeof item;
            item.fMask = MIIM_BITMAP;
            item.hbmpItem = plugin.bitmap;
            SetMenuItemInfoA(pluginMenu, plugin.commandId, FALSE, &item);
        }
    }
    RefreshPluginEntry(0);
    if (frame != nullptr) DrawMenuBar(frame);
}

void HostFrame::RefreshPluginEntry(UINT commandId)
{
    const std::vector<LoadedPlugin>& plugins = app.Plugins();
    bool known = false;
    for (const LoadedPlugin& plugin : plugins) known = known || plugin.commandId == commandId;
    for (const LoadedPlugin& plugin : plugins) {
        if (known && plugin.commandId != commandId) continue;
        bool marked = false;
        UINT state = PluginCommandEnabled(plugin, View(), &marked) ? MF_ENABLED : MF_GRAYED;
        if (pluginMenu == nullptr) continue;
        EnableMenuItem(pluginMenu, plugin.commandId, MF_BYCOMMAND | state);
        CheckMenuItem(pluginMenu, plugin.commandId, MF_BYCOMMAND | (marked ? MF_CHECKED : MF_UNCHECKED));
    }
}

bool HostFrame::PluginEntryEnabled(size_t index) const
{
    const std::vector<LoadedPlugin>& plugins = app.Plugins();
    if (pluginMenu == nullptr || index >= plugins.size()) return false;
    UINT state = GetMenuState(pluginMenu, plugins[index].commandId, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void HostFrame::RunPluginCommand(size_t index)
{
    const std::vector<LoadedPlugin>& plugins = app.Plugins();
    if (index < plugins.size() && View() != nullptr) plugins[index].onCommand(View());
}

void HostFrame::UpdateEditMenu(HMENU menu)
{
    bool selection = editor.HasSelection();
    EnableMenuItem(menu, IDM_UNDO, MF_BYCOMMAND | (editor.CanUndo() ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_CUT, MF_BYCOMMAND | (selection ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_COPY, MF_BYCOMMAND | (selection ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_PASTE, MF_BYCOMMAND | (IsClipboardFormatAvailable(CF_TEXT) ? MF_ENABLED : MF_GRAYED));
}

void HostFrame::UpdateTitle()
{
    if (frame == nullptr) return;
    std::string title = "VexaroHost - " + DocumentName();
    SetWindowTextA(frame, title.c_str());
}

void HostFrame::ChooseFile()
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = frame;
    dialog.lpstrFilter = "テキスト (*.txt)\0*.txt\0すべてのファイル (*.*)\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&dialog)) return;
    std::string error;
    if (!OpenFile(path, error)) MessageBoxA(frame, error.c_str(), "VexaroHost", MB_OK | MB_ICONERROR);
}

void HostFrame::OnMenuCommand(UINT id)
{
    switch (id) {
    case IDM_NEW_FRAME: {
        std::string error;
        if (app.NewFrame(error) == nullptr) MessageBoxA(frame, error.c_str(), "VexaroHost", MB_OK | MB_ICONERROR);
        return;
    }
    case IDM_OPEN: ChooseFile(); return;
    // Both may free this frame: nothing of it is touched afterwards.
    case IDM_CLOSE_FRAME: app.CloseFrame(*this); return;
    case IDM_EXIT: app.Close(); return;
    case IDM_UNDO: view.Undo(); return;
    case IDM_CUT: view.Cut(); return;
    case IDM_COPY: view.Copy(); return;
    case IDM_PASTE: view.Paste(); return;
    case IDM_SELECT_ALL: view.SelectAll(); return;
    default: {
        // A chosen menu entry runs the plug-in's command; the entry itself is greyed while the
        // plug-in says its command cannot run.
        const std::vector<LoadedPlugin>& plugins = app.Plugins();
        for (size_t i = 0; i < plugins.size(); ++i) {
            if (plugins[i].commandId == id) RunPluginCommand(i);
        }
    }
    }
}

void HostFrame::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && menu == nullptr) { // the menu closed
        if (menuStatusShown) SetStatusText(statusText);
        menuStatusShown = false;
        return;
    }
    std::string help;
    for (const LoadedPlugin& plugin : app.Plugins()) {
        if ((flags & MF_POPUP) == 0 && plugin.commandId == item) help = FirstLine(plugin.statusText);
    }
    if (statusBar != nullptr) SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(help.c_str()));
    menuStatusShown = true;
}

LRESULT HostFrame::FrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= kFirstHostMessage && message <= kLastHostMessage)
        return HandleHostMessage(window, message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_DPICHANGED: {
        // Moved to a display of another scale: the place the system suggests; the children
        // (the plug-ins' bands among them) hear of it with WM_DPICHANGED_AFTERPARENT.
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ScaleOwnBand(rebar, HIWORD(wParam));
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_SETFOCUS:
        if (View() != nullptr) SetFocus(View());
        return 0;
    case WM_ACTIVATE:
        // The frame the user turns to becomes current, and the plug-ins hear of it.
        if (LOWORD(wParam) != WA_INACTIVE) app.MakeCurrent(*this);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == rebar && header->code == RBN_HEIGHTCHANGE) Layout();
        return 0;
    }
    case WM_COMMAND:
        // Menu commands only: controls inside the rebar report to their own parents.
        if (lParam == 0) OnMenuCommand(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP: {
        HMENU menu = reinterpret_cast<HMENU>(wParam);
        if (menu == pluginMenu) RefreshPluginEntry(0);
        else UpdateEditMenu(menu);
        return 0;
    }
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_CLOSE:
        app.CloseFrame(*this);
        return 0;
    case WM_DESTROY:
        app.FrameDestroying(*this);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
