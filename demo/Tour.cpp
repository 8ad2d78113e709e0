#include "demo/Tour.h"
#include "host/Clipboard.h"
#include "demo/TourClipBar.h"
#include "demo/TourInput.h"
#include "host/Utf8.h"
#include <commctrl.h>
#include <cstdio>
#include <initializer_list>

namespace {

void Say(const std::string& cp932)
{
    printf("tour: %s\n", Cp932ToUtf8(cp932).c_str());
    fflush(stdout);
}

// A menu left open by keys the window system did not deliver must not stop the tour.
void CALLBACK CloseStrayMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    EndMenu();
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

    bool saved = false;
    if (!host.Plugins().empty()) saved = TourClipBar(host, pngPath);
    host.Log().Clear();
    host.Close();
    Say("closed");
    return saved ? 0 : 1;
}
