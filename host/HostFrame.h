// One frame of the sample host: a top-level window with its menu, rebar, view and status bar,
// and the document shown in the view. Host messages sent to the frame or to its view act on this
// frame's document. The plug-ins, the message log and the answer hook belong to the HostApp.
#pragma once
#include <windows.h>
#include "host/CommandLine.h"
#include "host/Editor.h"
#include "host/TextView.h"
#include <string>

class HostApp;

class HostFrame {
public:
    explicit HostFrame(HostApp& app) : app(app) {}
    HostFrame(const HostFrame&) = delete;
    HostFrame& operator=(const HostFrame&) = delete;

    // Creates the windows (not shown yet) with `text` as the document; `number` (1, 2, ...)
    // places the window and names it. False when the frame or its view cannot be made.
    bool Create(const HostOptions& options, int number, const std::string& text, std::string& error);
    bool IsOpen() const { return frame != nullptr; }

    HWND Window() const { return frame; }
    HWND View() const { return view.Window(); }
    HWND Rebar() const { return rebar; }
    HWND StatusBar() const { return statusBar; }
    TextView& ViewControl() { return view; }
    Editor& Edit() { return editor; }
    const std::string& FileName() const { return fileName; }
    // The document's file name without its folder, or "(無題)".
    std::string DocumentName() const;

    bool OpenFile(const std::string& path, std::string& error);
    // Host command 4211: creates the rebar unless it exists or the options forbid it.
    bool CreateRebar();
    void Layout();
    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    // The plug-in menu, rebuilt from the loaded plug-ins.
    void BuildPluginMenu();
    // Asks the plug-in with this command id (every plug-in for an unknown id) whether its command
    // can run, with this frame's view, and enables its menu entry accordingly.
    void RefreshPluginEntry(UINT commandId);
    bool PluginEntryEnabled(size_t index) const;
    // What the menu entry does: the plug-in's OnCommand with this frame's view.
    void RunPluginCommand(size_t index);
    // Everything that arrives in the host message range, at the view or at the frame.
    LRESULT HandleHostMessage(HWND receiver, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend LRESULT CALLBACK HostFrameProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT FrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateWindows(int number);
    void OnMenuCommand(UINT id);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void UpdateEditMenu(HMENU menu);
    void UpdateTitle();
    void ChooseFile();
    // The window is gone: forget it, and let the host put the frame away.
    void OnWindowGone();

    HostApp& app;
    HostOptions options;
    HWND frame = nullptr;
    HWND rebar = nullptr;
    HWND statusBar = nullptr;
    HMENU pluginMenu = nullptr;
    TextView view;
    Editor editor;
    std::string fileName;
    std::string statusText;       // what 2085 or the host put there
    bool menuStatusShown = false; // a menu entry's help text covers statusText
};
