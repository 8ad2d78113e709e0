#include "host/Tour.h"
#include "host/Clipboard.h"
#include "host/Screenshot.h"
#include "host/Utf8.h"
#include <cstdio>
#include <initializer_list>

namespace {

void Say(const std::string& cp932)
{
    printf("tour: %s\n", Cp932ToUtf8(cp932).c_str());
    fflush(stdout);
}

void Pump(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

INPUT Key(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Key presses as the user's keyboard makes them, `key` pressed while holding the modifiers.
void AddPress(std::vector<INPUT>& inputs, std::initializer_list<WORD> modifiers, WORD key)
{
    for (WORD m : modifiers) inputs.push_back(Key(m, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    for (auto m = modifiers.end(); m != modifiers.begin();) inputs.push_back(Key(*--m, true));
}

// Queues all presses before handling any: a menu opened by the first one runs its own loop and
// takes the rest from the queue.
void Press(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump(100);
}

void Press(std::initializer_list<WORD> modifiers, WORD key)
{
    std::vector<INPUT> inputs;
    AddPress(inputs, modifiers, key);
    Press(inputs);
}

// A menu left open by keys the window system did not deliver must not stop the tour.
void CALLBACK CloseStrayMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    EndMenu();
}

// Types a CP932 text the way an input method delivers it: one Unicode character at a time.
void Type(const std::string& cp932)
{
    int wide = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    std::wstring w(wide, L'\0');
    MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), &w[0], wide);
    for (wchar_t c : w) {
        INPUT inputs[2] = {};
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = static_cast<WORD>(c);
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, inputs, sizeof(INPUT));
        Pump(20);
    }
    Pump(100);
}

// The screenshot is taken from a timer, because the menu it shows runs its own message loop.
struct Shot {
    HostApp* host = nullptr;
    std::string path;
    bool taken = false;
    bool saved = false;
} shot;

void CALLBACK TakeShot(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (shot.taken) return;
    shot.taken = true;
    RgbImage image;
    shot.saved = CaptureWindow(shot.host->Frame(), image) && WritePng(shot.path, image);
    EndMenu();
}

// Opens the plug-in menu with the mouse, so no entry is highlighted and the entries read clearly.
void ClickPluginMenu(HostApp& host)
{
    HMENU bar = GetMenu(host.Frame());
    RECT title;
    if (!GetMenuItemRect(host.Frame(), bar, GetMenuItemCount(bar) - 1, &title)) return;
    SetCursorPos((title.left + title.right) / 2, (title.top + title.bottom) / 2);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    Pump(100);
}

void ReportLog(HostApp& host)
{
    for (const HostLogEntry& entry : host.Log().Entries()) Say("  host message " + DescribeLogEntry(entry));
    host.Log().Clear();
}

} // namespace

int RunTour(HostApp& host, const std::string& pngPath)
{
    Pump(300);
    Say("document " + (host.FileName().empty() ? std::string("(無題)") : host.FileName()) + ", " +
        std::to_string(host.Edit().Doc().LineCount()) + " lines");
    for (const LoadedPlugin& plugin : host.Plugins())
        Say("plug-in " + plugin.name + ": menu entry \"" + plugin.menuText + "\"");
    ReportLog(host);

    if (!host.Plugins().empty()) {
        Say("choosing the plug-in's menu entry with Alt+P, Enter");
        std::vector<INPUT> keys;
        AddPress(keys, {VK_MENU}, 'P');
        AddPress(keys, {}, VK_RETURN);
        UINT_PTR guard = SetTimer(nullptr, 0, 3000, CloseStrayMenu);
        Press(keys);
        Pump(300);
        KillTimer(nullptr, guard);
        if (host.PluginEntryEnabled(0)) {
            // Some window systems swallow the menu keys; the menu command does the same.
            Say("the menu did not take the keys: sending the menu command");
            SendMessageA(host.Frame(), WM_COMMAND, host.Plugins()[0].commandId, 0);
            Pump(300);
        }
        Say(std::string("the menu entry is now ") + (host.PluginEntryEnabled(0) ? "enabled" : "greyed (command running)"));
        ReportLog(host);
    }

    SetForegroundWindow(host.Frame());
    SetFocus(host.View());
    Say("typing a new last line");
    Press({VK_CONTROL}, VK_END);
    Press({}, VK_RETURN);
    Type("クリップ ﾃｽﾄ ＡＢＣ abc 123");
    Say("caret line now reads: " + host.Edit().Doc().Line(host.Edit().Caret().line));
    Say("selecting it with Shift+Home and copying with Ctrl+C");
    Press({VK_SHIFT}, VK_HOME);
    Press({VK_CONTROL}, 'C');
    std::string copied;
    GetClipboardText(host.Frame(), copied);
    Say("selection: \"" + host.Edit().SelectedText() + "\", clipboard: \"" + copied + "\"");
    ReportLog(host);

    Say("opening the plug-in menu for the screenshot");
    shot.host = &host;
    shot.path = pngPath;
    SetTimer(nullptr, 0, 700, TakeShot);
    ClickPluginMenu(host);
    Pump(1000);
    if (!shot.taken) TakeShot(nullptr, 0, 0, 0);
    Pump(200);
    Say(shot.saved ? "screenshot written to " + pngPath : "could not write the screenshot to " + pngPath);
    host.Close();
    Say("closed");
    return shot.saved ? 0 : 1;
}
