#include "host/HostApp.h"
#include "common/Sjis.h"
#include <commctrl.h>
#include <commdlg.h>

namespace {
const char kFrameClass[] = "VexaroHostFrame";
const char kPluginMenuTitle[] = "プラグイン(&P)";

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
        auto* self = static_cast<HostApp*>(create->lpCreateParams);
        self->frame = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<HostApp*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->FrameMessage(window, message, wParam, lParam);
}

bool HostApp::CreateFrame()
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
    AppendMenuA(file, MF_STRING, IDM_OPEN, "開く(&O)...");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
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

    HWND created = CreateWindowExA(0, kFrameClass, "VexaroHost", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                                   820, 560, nullptr, bar, instance, this);
    if (created == nullptr) {
        DestroyMenu(bar);
        pluginMenu = nullptr;
        return false;
    }
    return true;
}

void HostApp::BuildPluginMenu()
{
    if (pluginMenu == nullptr) return;
    while (GetMenuItemCount(pluginMenu) > 0) DeleteMenu(pluginMenu, 0, MF_BYPOSITION);
    if (plugins.empty()) {
        AppendMenuA(pluginMenu, MF_STRING | MF_GRAYED, 0, "(プラグインなし)");
    }
    for (const LoadedPlugin& plugin : plugins) {
        AppendMenuA(pluginMenu, MF_STRING, plugin.commandId, plugin.menuText.c_str());
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

void HostApp::UpdateEditMenu(HMENU menu)
{
    bool selection = editor.HasSelection();
    EnableMenuItem(menu, IDM_UNDO, MF_BYCOMMAND | (editor.CanUndo() ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_CUT, MF_BYCOMMAND | (selection ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_COPY, MF_BYCOMMAND | (selection ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_PASTE, MF_BYCOMMAND | (IsClipboardFormatAvailable(CF_TEXT) ? MF_ENABLED : MF_GRAYED));
}

void HostApp::UpdateTitle()
{
    if (frame == nullptr) return;
    std::string title = "VexaroHost - " + DocumentName();
    SetWindowTextA(frame, title.c_str());
}

void HostApp::ChooseFile()
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

void HostApp::OnMenuCommand(UINT id)
{
    switch (id) {
    case IDM_OPEN: ChooseFile(); return;
    case IDM_EXIT: Close(); return;
    case IDM_UNDO: view.Undo(); return;
    case IDM_CUT: view.Cut(); return;
    case IDM_COPY: view.Copy(); return;
    case IDM_PASTE: view.Paste(); return;
    case IDM_SELECT_ALL: view.SelectAll(); return;
    default:
        // A chosen menu entry runs the plug-in's command; the entry itself is greyed while the
        // plug-in says its command cannot run.
        for (size_t i = 0; i < plugins.size(); ++i) {
            if (plugins[i].commandId == id) RunPluginCommand(i);
        }
    }
}

void HostApp::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && menu == nullptr) { // the menu closed
        if (menuStatusShown) SetStatusText(statusText);
        menuStatusShown = false;
        return;
    }
    std::string help;
    for (const LoadedPlugin& plugin : plugins) {
        if ((flags & MF_POPUP) == 0 && plugin.commandId == item) help = FirstLine(plugin.statusText);
    }
    if (statusBar != nullptr) SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(help.c_str()));
    menuStatusShown = true;
}

LRESULT HostApp::FrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= kFirstHostMessage && message <= kLastHostMessage)
        return HandleHostMessage(window, message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_SETFOCUS:
        if (View() != nullptr) SetFocus(View());
        return 0;
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
        Close();
        return 0;
    case WM_DESTROY:
        // Destroyed from outside rather than through Close(): forget the windows; the libraries
        // are freed by the next Close().
        if (!closing) {
            ForgetWindows();
            if (quitOnClose) PostQuitMessage(0);
        }
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
