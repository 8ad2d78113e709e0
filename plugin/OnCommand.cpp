#include "plugin/Exports.h"
#include "plugin/Globals.h"
#include "plugin/HostMessages.h"
#include "plugin/LibraryHold.h"
#include "plugin/PluginState.h"
#include "clipbar/Band.h"
#include "clipbar/ListKeys.h"
#include "plugin/Options.h"
#include "clipbar/Rebar.h"
#include "capture/ClipHistory.h"
#include "capture/KeptList.h"

// How long the host may take to create its rebar after HOSTCMD_SHOW_REBAR.
static const DWORD kRebarWaitMs = 5000;

static HWND WaitForHostRebar()
{
    HWND rebar = FindHostRebar();
    if (rebar != nullptr) return rebar;
    SendToHost(HOSTMSG_EXEC_COMMAND, HOSTCMD_SHOW_REBAR, 0);
    DWORD start = GetTickCount();
    do {
        rebar = FindHostRebar();
    } while (rebar == nullptr && GetTickCount() - start < kRebarWaitMs);
    return rebar;
}

void WINAPI OnCommand(HWND window)
{
    LibraryInUse inUse;
    char path[260] = {0};
    plugin.hostWindow = GetParent(window);
    plugin.viewWindow = window;
    // A second command while the band is open must leave the open band's windows alone; what is
    // left of a band the host took away is taken down first (its teardown saves its items).
    if (plugin.bandClosed == 0) {
        if (!BandIsGone()) {
            if (plugin.keyAccess && plugin.hostWindow == plugin.bandFrame) OpenListFromKeyboard();
            return;
        }
        if (IsWindow(plugin.bandDialog)) DestroyWindow(plugin.bandDialog);
        plugin.bandClosed = 1;
    }
    plugin.comboWindow = nullptr;
    plugin.toolbarWindow = nullptr;
    plugin.bandDialog = nullptr;
    plugin.bandFrame = plugin.hostWindow;
    plugin.bandView = plugin.viewWindow;

    // The settings menu's choices hold from the band's first message on (its history watch).
    if (iniFile.GetModulePath(path, plugin.hInstance) && path[0] != '\0') iniFile.SetINIFilePath(path);
    LoadOptions();

    if (WaitForHostRebar() == nullptr) {
        messenger.ShowMessage("ReBarの捕捉に失敗しました！！", "", "x", "o");
        return;
    }
    if (!BuildBand()) return;
    ReadKeptListOnce();
    SwitchClipList(0);
    plugin.bandClosed = 0;
    SendMessageA(window, HOSTMSG_REFRESH_STATUS, plugin.commandId, 0);
    SetFocus(plugin.bandView);

    if (iniFile.GetModulePath(path, plugin.hInstance) && path[0] != '\0') {
        iniFile.SetINIFilePath(path);
    } else {
        iniFile.ShowMessage("設定ファイルのパス取得に失敗しました！！", "", "x", "o");
    }
}
