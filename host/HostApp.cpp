#include "host/HostApp.h"
#include <commctrl.h>

// As a modern editor does: the system then scales nothing for us, and every size is our own (and
// the plug-in's) to scale. Once per process, before the first window; where the system lacks
// the call (before Windows 10 1703) the process stays as it is.
static void DeclarePerMonitorDpiAware()
{
    static bool declared = false;
    if (declared) return;
    declared = true;
    using SetContext = BOOL(WINAPI*)(HANDLE);
    HMODULE user = GetModuleHandleA("user32.dll");
    FARPROC found = user != nullptr ? GetProcAddress(user, "SetProcessDpiAwarenessContext") : nullptr;
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (found != nullptr) reinterpret_cast<SetContext>(reinterpret_cast<void*>(found))(reinterpret_cast<HANDLE>(-4));
}

bool HostApp::Open(const HostOptions& given, std::string& error)
{
    Close(); // a host opened before, or left behind by frames destroyed from outside
    closedFrames.clear();
    options = given;
    error.clear();
    log.Clear();
    framesOpened = 0;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    DeclarePerMonitorDpiAware();
    HostFrame* first = OpenFrame(options.initialText, error);
    if (first == nullptr) return false;
    current = first;
    std::string fileError;
    if (!options.openFile.empty()) first->OpenFile(options.openFile, fileError);
    if (!fileError.empty()) error += fileError + "\n";
    std::string pluginError;
    LoadPlugins(pluginError);
    error += pluginError;
    Activate(*first);
    for (int n = 1; n < options.frames; ++n) {
        std::string frameError;
        if (NewFrame(frameError) == nullptr) error += frameError + "\n";
    }
    if (options.runCommand && !plugins.empty()) PostMessageA(current->Window(), WM_COMMAND, plugins[0].commandId, 0);
    return true;
}

HostFrame* HostApp::OpenFrame(const std::string& text, std::string& error)
{
    frames.push_back(std::make_unique<HostFrame>(*this));
    HostFrame* frame = frames.back().get();
    if (!frame->Create(options, ++framesOpened, text, error)) {
        // A half-made frame's window (if any) is destroyed; FrameGone has moved it away then.
        if (frame->IsOpen()) DestroyWindow(frame->Window());
        for (size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].get() == frame) frames.erase(frames.begin() + static_cast<std::ptrdiff_t>(i));
        }
        return nullptr;
    }
    frame->BuildPluginMenu();
    return frame;
}

void HostApp::LoadPlugins(std::string& error)
{
    for (const std::string& path : options.plugins) {
        LoadedPlugin plugin;
        std::string failure;
        UINT commandId = kFirstPluginCommand + static_cast<UINT>(plugins.size());
        if (!LoadPlugin(path, commandId, Frame(), plugin, failure)) {
            error += failure + "\n";
            continue;
        }
        plugins.push_back(plugin);
        plugin.onEvents(View(), HE_COMMAND_ID, static_cast<LPARAM>(commandId));
        plugin.onEvents(View(), HE_VIEW, 0);
    }
    for (auto& frame : frames) frame->BuildPluginMenu();
    for (const LoadedPlugin& plugin : plugins) plugin.onEvents(View(), HE_MENU_REFRESH, 0);
    ACCEL keys[9] = {};
    int count = 0;
    for (; count < 9 && count < static_cast<int>(plugins.size()); ++count) {
        keys[count].fVirt = FCONTROL | FVIRTKEY;
        keys[count].key = static_cast<WORD>('1' + count);
        keys[count].cmd = static_cast<WORD>(plugins[static_cast<size_t>(count)].commandId);
    }
    if (shortcuts != nullptr) DestroyAcceleratorTable(shortcuts);
    shortcuts = count > 0 ? CreateAcceleratorTableA(keys, count) : nullptr;
}

bool HostApp::TranslateShortcut(MSG& msg)
{
    if (shortcuts == nullptr || msg.hwnd == nullptr) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    for (auto& frame : frames) {
        if (frame->Window() == root) return TranslateAcceleratorA(root, shortcuts, &msg) != 0;
    }
    return false;
}

HostFrame* HostApp::NewFrame(std::string& error)
{
    error.clear();
    if (frames.empty()) {
        error = "the editor is not open";
        return nullptr;
    }
    closedFrames.clear(); // never called from a closed frame's own window procedure
    HostFrame* frame = OpenFrame("", error);
    if (frame == nullptr) return nullptr;
    Activate(*frame);
    return frame;
}

void HostApp::Activate(HostFrame& frame)
{
    if (!frame.IsOpen()) return;
    ShowWindow(frame.Window(), SW_SHOW);
    UpdateWindow(frame.Window());
    SetForegroundWindow(frame.Window());
    // The window system may keep another window in front (or tell us late): the frame is
    // current all the same.
    MakeCurrent(frame);
    SetFocus(frame.View());
    frame.ViewControl().Refresh();
}

void HostApp::MakeCurrent(HostFrame& frame)
{
    if (current == &frame || closing || !frame.IsOpen()) return;
    current = &frame;
    for (const LoadedPlugin& plugin : plugins) plugin.onEvents(frame.View(), HE_VIEW, 0);
}

void HostApp::CloseFrame(HostFrame& frame)
{
    if (!frame.IsOpen() || closing) return;
    if (frames.size() <= 1) {
        Close();
        return;
    }
    // As when the user closes a window: the next one comes to the front before this one goes.
    if (current == &frame) {
        for (auto& other : frames) {
            if (other.get() != &frame) {
                Activate(*other);
                break;
            }
        }
    }
    DestroyWindow(frame.Window());
}

void HostApp::FrameDestroying(HostFrame& frame)
{
    // A frame destroyed from outside while current: another open frame takes over.
    if (closing || current != &frame) return;
    for (auto& other : frames) {
        if (other.get() != &frame && other->IsOpen()) {
            MakeCurrent(*other);
            return;
        }
    }
}

void HostApp::FrameGone(HostFrame& frame)
{
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].get() != &frame) continue;
        closedFrames.push_back(std::move(frames[i]));
        frames.erase(frames.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
    if (current == &frame) current = frames.empty() ? nullptr : frames.front().get();
    // The last frame destroyed from outside: the libraries are freed by the next Close().
    if (frames.empty() && !closing && quitOnClose) PostQuitMessage(0);
}

void HostApp::Close()
{
    if (closing || (frames.empty() && plugins.empty())) return;
    closing = true;
    if (shortcuts != nullptr) DestroyAcceleratorTable(shortcuts);
    shortcuts = nullptr;
    bool wasOpen = !frames.empty();
    if (wasOpen) {
        HWND view = current != nullptr ? current->View() : View();
        for (const LoadedPlugin& plugin : plugins) plugin.onEvents(view, HE_UNLOAD, 0);
        // The plug-ins' windows live in ours: they are destroyed here, while their code is loaded.
        while (!frames.empty()) {
            HostFrame* frame = frames.back().get();
            if (frame->IsOpen()) DestroyWindow(frame->Window());
            if (!frames.empty() && frames.back().get() == frame) FrameGone(*frame); // window already gone
        }
    }
    current = nullptr;
    for (LoadedPlugin& plugin : plugins) UnloadPlugin(plugin);
    plugins.clear();
    closing = false;
    if (wasOpen && quitOnClose) PostQuitMessage(0);
}

int HostApp::RunMessageLoop()
{
    quitOnClose = true;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateShortcut(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    quitOnClose = false;
    return static_cast<int>(msg.wParam);
}

bool HostApp::RemovePlugin(size_t index)
{
    if (index >= plugins.size() || frames.empty()) return false;
    if (plugins[index].plugInProc(Frame(), HR_CONFIRM_REMOVE, 0, 0) == 0) return false;
    LoadedPlugin gone = plugins[index];
    plugins.erase(plugins.begin() + static_cast<std::ptrdiff_t>(index));
    UnloadPlugin(gone);
    for (auto& frame : frames) frame->BuildPluginMenu();
    return true;
}

void HostApp::RefreshPluginEntries(UINT commandId)
{
    for (auto& frame : frames) frame->RefreshPluginEntry(commandId);
}
