#include "host/HostApp.h"
#include "host/HostRebar.h"
#include "common/Sjis.h"
#include <commctrl.h>
#include <cstdio>

bool HostApp::Open(const HostOptions& given, std::string& error)
{
    Close(); // a host opened before, or left behind by a frame destroyed from outside
    options = given;
    error.clear();
    fileName.clear();
    statusText.clear();
    menuStatusShown = false;
    log.Clear();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    if (!CreateFrame()) {
        error = "cannot create the host window";
        return false;
    }
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, frame,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    // The view first, the rebar after it: a plug-in finds the rebar among the view's next siblings.
    if (view.Create(frame, *this, editor) == nullptr) {
        error = "cannot create the view";
        Close();
        return false;
    }
    if (options.rebarMode == RebarMode::Present) CreateRebar();
    std::string fileError;
    bool opened = !options.openFile.empty() && OpenFile(options.openFile, fileError);
    if (!fileError.empty()) error += fileError + "\n";
    if (!opened) editor.Load(options.initialText);
    std::string pluginError;
    LoadPlugins(pluginError);
    error += pluginError;
    UpdateTitle();
    Layout();
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    SetForegroundWindow(frame);
    SetFocus(View());
    view.Refresh();
    if (options.runCommand && !plugins.empty()) PostMessageA(frame, WM_COMMAND, plugins[0].commandId, 0);
    return true;
}

void HostApp::LoadPlugins(std::string& error)
{
    for (const std::string& path : options.plugins) {
        LoadedPlugin plugin;
        std::string failure;
        UINT commandId = kFirstPluginCommand + static_cast<UINT>(plugins.size());
        if (!LoadPlugin(path, commandId, frame, plugin, failure)) {
            error += failure + "\n";
            continue;
        }
        plugins.push_back(plugin);
        plugin.onEvents(View(), HE_COMMAND_ID, static_cast<LPARAM>(commandId));
        plugin.onEvents(View(), HE_VIEW, 0);
    }
    BuildPluginMenu();
    for (const LoadedPlugin& plugin : plugins) plugin.onEvents(View(), HE_MENU_REFRESH, 0);
}

void HostApp::Close()
{
    if (closing || (frame == nullptr && plugins.empty())) return;
    closing = true;
    bool wasOpen = frame != nullptr;
    if (wasOpen) {
        for (const LoadedPlugin& plugin : plugins) plugin.onEvents(View(), HE_UNLOAD, 0);
        // The plug-ins' windows live in ours: they are destroyed here, while their code is loaded.
        DestroyWindow(frame);
    }
    ForgetWindows();
    for (LoadedPlugin& plugin : plugins) UnloadPlugin(plugin);
    plugins.clear();
    closing = false;
    if (wasOpen && quitOnClose) PostQuitMessage(0);
}

void HostApp::ForgetWindows()
{
    frame = nullptr;
    rebar = nullptr;
    statusBar = nullptr;
    pluginMenu = nullptr;
}

int HostApp::RunMessageLoop()
{
    quitOnClose = true;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    quitOnClose = false;
    return static_cast<int>(msg.wParam);
}

bool HostApp::OpenFile(const std::string& path, std::string& error)
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

std::string HostApp::DocumentName() const
{
    if (fileName.empty()) return "(無題)";
    // The file's own name, after the last separator; a CP932 trail byte can look like '\\'.
    const char* slash = SjisFindLast(fileName.c_str(), '\\');
    const char* forward = SjisFindLast(fileName.c_str(), '/');
    if (forward != nullptr && (slash == nullptr || forward > slash)) slash = forward;
    return slash != nullptr ? slash + 1 : fileName;
}

bool HostApp::CreateRebar()
{
    if (rebar != nullptr && IsWindow(rebar)) return true;
    if (options.rebarMode == RebarMode::Never || frame == nullptr) return false;
    rebar = CreateHostRebar(frame, options.ownBand, DocumentName());
    Layout();
    return rebar != nullptr;
}

void HostApp::Layout()
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

void HostApp::SetStatusText(const std::string& text)
{
    statusText = text;
    if (statusBar != nullptr) SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string HostApp::StatusText() const
{
    if (statusBar == nullptr) return "";
    char text[1024] = "";
    LRESULT length = SendMessageA(statusBar, SB_GETTEXTLENGTHA, 0, 0) & 0xFFFF;
    if (length >= static_cast<LRESULT>(sizeof text)) return statusText;
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

void HostApp::RefreshPluginEntry(UINT commandId)
{
    bool known = false;
    for (const LoadedPlugin& plugin : plugins) known = known || plugin.commandId == commandId;
    for (const LoadedPlugin& plugin : plugins) {
        if (known && plugin.commandId != commandId) continue;
        UINT state = PluginCommandEnabled(plugin, View()) ? MF_ENABLED : MF_GRAYED;
        if (pluginMenu != nullptr) EnableMenuItem(pluginMenu, plugin.commandId, MF_BYCOMMAND | state);
    }
}

bool HostApp::PluginEntryEnabled(size_t index) const
{
    if (pluginMenu == nullptr || index >= plugins.size()) return false;
    UINT state = GetMenuState(pluginMenu, plugins[index].commandId, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void HostApp::RunPluginCommand(size_t index)
{
    if (index < plugins.size()) plugins[index].onCommand(View());
}
