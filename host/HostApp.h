// The sample host editor: one or more frames (each with menu, rebar, text view, status bar and
// its own document), the plug-ins it loaded, and the log of the host messages it received. One
// instance runs on the UI thread of the program (or of a test). The plug-ins are told which frame
// is current with event 0x2000 and the view of that frame.
#pragma once
#include <windows.h>
#include "host/CommandLine.h"
#include "host/Editor.h"
#include "host/HostFrame.h"
#include "host/MessageLog.h"
#include "host/PluginLoader.h"
#include "host/TextView.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Menu commands of a frame. Plug-in commands follow from kFirstPluginCommand on.
enum HostMenuCommand : UINT {
    IDM_OPEN = 100,
    IDM_EXIT,
    IDM_UNDO,
    IDM_CUT,
    IDM_COPY,
    IDM_PASTE,
    IDM_SELECT_ALL,
    IDM_NEW_FRAME,
    IDM_CLOSE_FRAME,
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

    // Creates the first frame, opens the document and loads the plug-ins; then opens the further
    // frames the options ask for. The frame opened last is shown in front and is current.
    // Problems with single plug-ins or the file are reported in `error` without failing; false
    // only when the first frame's windows cannot be made.
    bool Open(const HostOptions& options, std::string& error);
    // The editor's exit: event 0x800 to every plug-in, every frame destroyed (the plug-ins'
    // windows with them, while the libraries are still loaded), then the libraries freed.
    void Close();
    bool IsOpen() const { return !frames.empty(); }
    // The program's message loop: runs until the last frame is closed.
    int RunMessageLoop();
    // The plug-in commands' shortcuts (Ctrl+1 to Ctrl+9), as an editor's accelerators: a key
    // message for a window of a frame becomes that frame's command, unless its menu entry is
    // greyed. True when the message was taken.
    bool TranslateShortcut(MSG& msg);

    // Opens another frame with an empty document of its own, shows it in front and makes it
    // current. Null when the editor is not open or the windows cannot be made.
    HostFrame* NewFrame(std::string& error);
    // Closes one frame. Another frame becomes current first if this one was; closing the last
    // frame closes the editor (Close()).
    void CloseFrame(HostFrame& frame);
    // Brings `frame` to the front and makes it current.
    void Activate(HostFrame& frame);
    // The frame that became active last: the plug-ins have had event 0x2000 with its view.
    // Changing it sends that event to every plug-in.
    void MakeCurrent(HostFrame& frame);
    HostFrame* Current() const { return current; }
    // The open frames, in the order they were opened.
    size_t FrameCount() const { return frames.size(); }
    HostFrame& FrameAt(size_t index) { return *frames.at(index); }

    // The first open frame (the one the host started with, unless it was closed).
    HostFrame& First() { return frames.empty() ? noFrame : *frames.front(); }
    const HostFrame& First() const { return frames.empty() ? noFrame : *frames.front(); }
    HWND Frame() const { return First().Window(); }
    HWND View() const { return First().View(); }
    HWND Rebar() const { return First().Rebar(); }
    HWND StatusBar() const { return First().StatusBar(); }
    TextView& ViewControl() { return First().ViewControl(); }
    Editor& Edit() { return First().Edit(); }
    const std::string& FileName() const { return First().FileName(); }
    void SetStatusText(const std::string& text) { First().SetStatusText(text); }
    std::string StatusText() const { return First().StatusText(); }
    bool PluginEntryEnabled(size_t index) const { return First().PluginEntryEnabled(index); }
    void RunPluginCommand(size_t index) { First().RunPluginCommand(index); }

    MessageLog& Log() { return log; }
    const HostOptions& Options() const { return options; }
    const std::vector<LoadedPlugin>& Plugins() const { return plugins; }
    // The user removes plug-in `index` while the editor runs: if it agrees (request 2311), the
    // library is freed at once, whatever windows of it are open, and its menu entry goes.
    bool RemovePlugin(size_t index);
    void SetAnswerHook(HostAnswerHook hook) { answerHook = std::move(hook); }
    const HostAnswerHook& AnswerHook() const { return answerHook; }
    // A plug-in's command state changed: every frame asks it again and updates its menu entry.
    void RefreshPluginEntries(UINT commandId);

private:
    friend class HostFrame;
    // From the frame's window procedure: the frame is being destroyed / its window is gone.
    void FrameDestroying(HostFrame& frame);
    void FrameGone(HostFrame& frame);
    HostFrame* OpenFrame(const std::string& text, std::string& error);
    void LoadPlugins(std::string& error);

    HostOptions options;
    HACCEL shortcuts = nullptr;
    std::vector<std::unique_ptr<HostFrame>> frames;
    // Frames whose windows are gone; freed later, never from inside their own window procedure.
    std::vector<std::unique_ptr<HostFrame>> closedFrames;
    // Stands in for the first frame while none is open, so the accessors above stay safe.
    HostFrame noFrame{*this};
    HostFrame* current = nullptr;
    int framesOpened = 0;
    MessageLog log;
    HostAnswerHook answerHook;
    std::vector<LoadedPlugin> plugins;
    bool closing = false;
    bool quitOnClose = false;
};
