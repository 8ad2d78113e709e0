#include "clipbar/SettingsMenu.h"
#include "capture/ClipHistory.h"
#include "capture/KeptList.h"
#include "plugin/HostMessages.h"
#include "plugin/Options.h"
#include "plugin/PluginState.h"
#include "res/resource.h"

static void ApplyHistoryChoice(HWND dialog)
{
    if (plugin.recordHistory) {
        ResumeClipboardWatch(dialog);
    } else {
        // Nothing of the clipboard is read or listened to from now on, a pending read included.
        StopClipboardWatch(dialog);
        CancelClipboardRetry();
    }
}

void ShowSettingsMenu(HWND dialog, POINT at)
{
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return;
    AppendMenuA(menu, MF_STRING | (plugin.keyAccess ? MF_CHECKED : 0), ID_OPTION_KEY_ACCESS,
                "コマンドでクリップリストを開く(&K)");
    AppendMenuA(menu, MF_STRING | (plugin.recordHistory ? MF_CHECKED : 0), ID_OPTION_RECORD_HISTORY,
                "クリップボードの履歴を記録する(&H)");
    AppendMenuA(menu, MF_STRING | (plugin.keepItems ? MF_CHECKED : 0), ID_OPTION_KEEP_LIST,
                "クリップリストの項目を次回も使う(&S)");
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, dialog, nullptr));
    DestroyMenu(menu);
    switch (chosen) {
    case ID_OPTION_KEY_ACCESS:
        plugin.keyAccess = !plugin.keyAccess;
        SaveOption(kKeyAccessKey, plugin.keyAccess);
        break;
    case ID_OPTION_RECORD_HISTORY:
        plugin.recordHistory = !plugin.recordHistory;
        SaveOption(kRecordHistoryKey, plugin.recordHistory);
        ApplyHistoryChoice(dialog);
        break;
    case ID_OPTION_KEEP_LIST:
        plugin.keepItems = !plugin.keepItems;
        SaveOption(kKeepListKey, plugin.keepItems);
        if (plugin.keepItems) StartKeepingList();
        break;
    default: return;
    }
    // Whether the command runs in the bar's frame may have changed.
    SendToHost(HOSTMSG_REFRESH_STATUS, plugin.commandId, 0);
}

void ShowSettingsMenuAtList(HWND dialog)
{
    HWND combo = plugin.comboWindow;
    if (combo == nullptr || !IsWindow(combo)) return;
    if (SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    RECT box = {0, 0, 0, 0};
    GetWindowRect(combo, &box);
    POINT at = {box.left, box.bottom};
    ShowSettingsMenu(dialog, at);
}
