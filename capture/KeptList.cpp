#include "capture/KeptList.h"
#include "capture/Status.h"
#include "cliplist/KeptItems.h"
#include "common/WideText.h"
#include "plugin/Globals.h"
#include "plugin/PluginState.h"
#include <cwchar>

static const wchar_t kKeptFileName[] = L"Vexaro-clips.txt";
static const size_t kPathChars = 520;

// Whether the file was read this run (or found missing): until then it is never written, so a
// file that could not be read is never replaced by what the list happens to hold.
static bool fileRead = false;
// The file could be neither read nor set aside: it is left alone for the rest of the run.
static bool fileBlocked = false;

static bool KeptFilePath(wchar_t* path)
{
    iniFile.HoldPlace();
    bool found = iniFile.FileBesideSettings(kKeptFileName, path, kPathChars);
    iniFile.ReleasePlace();
    return found;
}

static bool HoldsText(const CDimPack& list, const char* text)
{
    for (int i = 0; i < list.GetCount(); ++i) {
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, list.GetAt(i), -1, text, -1) == CSTR_EQUAL) return true;
    }
    return false;
}

// The file's items, read once a run; false when there are none to add (no file, or it could not
// be read, which the status bar then says).
static bool ReadFileOnce(CDimPack& items)
{
    if (fileRead || fileBlocked) return false;
    wchar_t path[kPathChars];
    if (!KeptFilePath(path)) return false;
    wchar_t aside[MAX_PATH] = L"";
    KeptRead result = ReadKeptItems(path, items, aside, MAX_PATH);
    if (result == KeptRead::failed) {
        fileBlocked = true;
        ShowStatus("保存した項目のファイル Vexaro-clips.txt を読めませんでした。このファイルは変更しません。", 1);
        return false;
    }
    fileRead = true;
    if (result == KeptRead::setAside) {
        char name[MAX_PATH * 2] = "";
        size_t length = WideToCp932(aside, wcslen(aside), name, sizeof name - 1);
        name[length] = '\0';
        char message[MAX_PATH * 2 + 200];
        wsprintfA(message, "保存した項目のファイルを読めなかったため、%s という名前で残しました。", name);
        ShowStatus(message, 1);
        return false;
    }
    return result == KeptRead::read && items.GetCount() > 0;
}

void ReadKeptListOnce()
{
    if (!plugin.keepItems) return;
    CDimPack items;
    if (!ReadFileOnce(items)) return;
    for (int i = 0; i < items.GetCount(); ++i) {
        if (!HoldsText(savedItems, items.GetAt(i)) && !savedItems.Add(items.GetAt(i))) break;
    }
}

void KeepList(bool fromSaved)
{
    if (!plugin.keepItems || fileBlocked || !fileRead) return;
    wchar_t path[kPathChars];
    if (!KeptFilePath(path)) return;
    // The list shows the user's items except in the history view, where savedItems holds them;
    // a band that is gone left them in savedItems too.
    bool listHasThem = !fromSaved && plugin.bandClosed == 0 && !plugin.historyShown && plugin.comboWindow != nullptr;
    if (!listHasThem) {
        WriteKeptItems(path, savedItems);
        return;
    }
    CDimPack items;
    if (clipCombo.ReadAllItems(items) == -1) return;
    WriteKeptItems(path, items);
}

void StartKeepingList()
{
    CDimPack items;
    if (ReadFileOnce(items)) {
        bool inList = plugin.bandClosed == 0 && !plugin.historyShown && plugin.comboWindow != nullptr;
        LRESULT chosen = inList ? SendMessageA(plugin.comboWindow, CB_GETCURSEL, 0, 0) : CB_ERR;
        for (int i = 0; i < items.GetCount(); ++i) {
            const char* text = items.GetAt(i);
            if (inList) {
                if (clipCombo.FindItem(text) == -1) clipCombo.AddItem(text, CB_INSERTSTRING, -1, 0);
            } else if (!HoldsText(savedItems, text) && !savedItems.Add(text)) {
                break;
            }
        }
        if (inList) SendMessageA(plugin.comboWindow, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    } else if (!fileBlocked) {
        // No file yet, or it was read before: the list as it is now is what is kept.
        fileRead = true;
    }
    KeepList();
}

void ForgetKeptListRead()
{
    fileRead = false;
    fileBlocked = false;
}
