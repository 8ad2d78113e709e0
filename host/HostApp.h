// The sample host editor: a frame with menu, rebar, text view and status bar, the plug-ins it
// loaded, and the log of the host messages it received. One instance runs on the UI thread of
// the program (or of a test).
#pragma once
#include <windows.h>
#include "host/CommandLine.h"
#include "host/Editor.h"
#include "host/MessageLog.h"
#include "host/PluginLoader.h"
#include "host/TextView.h"
#include <functional>
#include <string>
#include <vector>

// Menu commands of the frame. Plug-in commands follow from kFirstPluginCommand on.
enum HostMenuCommand : UINT {
    IDM_OPEN = 100,
    IDM_EXIT,
    IDM_UNDO,
    IDM_CUT,
    IDM_COPY,
    IDM_PASTE,
    IDM_SELECT_ALL,
};
const UINT kFirstPluginCommand = 0x9C40;
// Stands in for a faulty host in tests: answers a host message itself (returns true and sets
// `result`) before the host does. The message is logged all the same.
using HostAnswerHook = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
// Host messages: the range the view passes on to the frame.
const UINT kFirstHostMessage = 2048;
const UINT kLastHostMessage = 2200;

class HostApp {
public:
    HostApp() = default;
    HostApp(const HostApp&) = delete;
    HostApp& operator=(const HostApp&) = delete;
    ~HostApp() { Close(); }

    // Creates the windows, opens the document and loads the plug-ins; the frame is shown and
    // brought to the front. Problems with single plug-ins or the file are reported in `error`
    // without failing; false only when the windows cannot be made.
    bool Open(const HostOptions& options, std::string& error);
    // The editor's exit: event 0x800 to every plug-in, the windows destroyed (the plug-ins'
    // windows with them, while the libraries are still loaded), then the libraries freed.
    void Close();
    bool IsOpen() const { return frame != nullptr; }
    // The program's message loop: runs until the frame is closed.
    int RunMessageLoop();

    HWND Frame() const { return frame; }
    HWND View() const { return view.Window(); }
    HWND Rebar() const { return rebar; }
    HWND StatusBar() const { return statusBar; }
    TextView& ViewControl() { return view; }
    Editor& Edit() { return editor; }
    MessageLog& Log() { return log; }
    const HostOptions& Options() const { return options; }
    const std::vector<LoadedPlugin>& Plugins() const { return plugins; }
    const std::string& FileName() const { return fileName; }
    // The document's file name without its folder, or "(無題)".
    std::string DocumentName() const;

    bool OpenFile(const std::string& path, std::string& error);
    // Host command 4211: creates the rebar unless it exists or the options forbid it.
    bool CreateRebar();
    void Layout();
    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    // Asks the plug-in with this command id (every plug-in for an unknown id) whether its command
    // can run and enables its menu entry accordingly.
    void RefreshPluginEntry(UINT commandId);
    bool PluginEntryEnabled(size_t index) const;
    // What the menu entry does: the plug-in's OnCommand with the view.
    void RunPluginCommand(size_t index);
    // Everything that arrives in the host message range, at the view or at the frame.
    LRESULT HandleHostMessage(HWND receiver, UINT message, WPARAM wParam, LPARAM lParam);
    void SetAnswerHook(HostAnswerHook hook) { answerHook = std::move(hook); }

private:
    friend LRESULT CALLBACK HostFrameProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT FrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ForgetWindows();
    void OnMenuCommand(UINT id);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    bool CreateFrame();
    void BuildPluginMenu();
    void UpdateEditMenu(HMENU menu);
    void LoadPlugins(std::string& error);
    void UpdateTitle();
    void ChooseFile();

    HostOptions options;
    HWND frame = nullptr;
    HWND rebar = nullptr;
    HWND statusBar = nullptr;
    HMENU pluginMenu = nullptr;
    TextView view;
    Editor editor;
    MessageLog log;
    HostAnswerHook answerHook;
    std::vector<LoadedPlugin> plugins;
    std::string fileName;
    std::string statusText;       // what 2085 or the host put there
    bool menuStatusShown = false; // a menu entry's help text covers statusText
    bool closing = false;
    bool quitOnClose = false;
};
