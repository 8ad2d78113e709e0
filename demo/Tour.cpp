#include "demo/Tour.h"
#include "demo/TourCheck.h"
#include "demo/TourClipBar.h"
#include "demo/TourInput.h"
#include "demo/TourPicture.h"
#include "host/Clipboard.h"
#include <commctrl.h>
#include <initializer_list>

namespace {

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

void RunTour(HostApp& host, const TourOutput& output)
{
    StrayBoxGuard guard;
    Pump(300);
    Say("document " + (host.FileName().empty() ? std::string("(無題)") : host.FileName()) + ", " +
        std::to_string(host.Edit().Doc().LineCount()) + " lines");
    if (!CheckEqual("line 8, where the tour captures", host.Edit().Doc().Line(7),
                    "会議のお知らせ：明日は9時30分から、資料はpdfで配ります。") ||
        !Check(host.Plugins().size() == 1, "one plug-in loaded")) {
        host.Close();
        return;
    }
    const LoadedPlugin& plugin = host.Plugins()[0];
    Say("plug-in " + plugin.name + ": menu entry \"" + plugin.menuText + "\"");
    CheckEqual("the menu entry", plugin.menuText, "クリップツール(&C)");
    ReportLog(host);
    // The history starts with what is on the clipboard when the bar opens: start it empty.
    Say("emptying the clipboard");
    bool emptied = OpenClipboard(host.Frame()) && EmptyClipboard();
    CloseClipboard();
    Check(emptied, "the clipboard is emptied");

    Say("opening the plug-in menu with Alt+P and choosing its entry with Enter");
    std::vector<INPUT> open, choose;
    AddPress(open, {VK_MENU}, 'P');
    AddPress(choose, {}, VK_RETURN);
    UINT_PTR menuGuard = SetTimer(nullptr, 0, 3000, CloseStrayMenu);
    MenuShot shot = ShotOfMenu(open, ScreenRect(host.Frame()), choose);
    KillTimer(nullptr, menuGuard);
    if (shot.shown) {
        CheckEqual("the plug-in menu", shot.items, {"クリップツール(&C)\tCtrl+1"});
        RECT box = EditorDownTo(host, shot.menu.bottom);
        UnionRect(&box, &box, &shot.menu);
        PictureOfShot(output.pictures, "plugin-menu.png", shot, box);
    } else {
        Check(output.pictures.empty(), "the plug-in menu shows, for its picture");
    }
    if (host.PluginEntryEnabled(0)) {
        // Some window systems swallow the menu keys; the menu command does the same.
        Say("the menu did not take the keys: sending the menu command");
        SendMessageA(host.Frame(), WM_COMMAND, plugin.commandId, 0);
        Pump(300);
    }
    Check(!host.PluginEntryEnabled(0), "the menu entry is greyed while the clip bar is open");
    ReportLog(host);

    SetForegroundWindow(host.Frame());
    SetFocus(host.View());
    const std::string typed = "クリップ ﾃｽﾄ ＡＢＣ abc 123";
    Say("typing a new last line: " + typed);
    Press({VK_CONTROL}, VK_END);
    Press({}, VK_RETURN);
    Type(typed);
    CheckEqual("the caret line", host.Edit().Doc().Line(host.Edit().Caret().line), typed);
    Say("selecting it with Shift+Home and copying with Ctrl+C");
    Press({VK_SHIFT}, VK_HOME);
    Press({VK_CONTROL}, 'C');
    std::string copied;
    GetClipboardText(host.Frame(), copied);
    CheckEqual("the selection", host.Edit().SelectedText(), typed);
    CheckEqual("the clipboard", copied, typed);
    ReportLog(host);

    TourClipBar(host, output, typed);
    host.Log().Clear();
    host.Close();
    Say("closed");
}
