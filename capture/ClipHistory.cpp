#include "capture/ClipHistory.h"
#include "capture/Status.h"
#include "capture/TextBuffer.h"
#include "common/Sjis.h"
#include "plugin/Globals.h"
#include "plugin/PluginState.h"
#include <cstring>

static const int kHistoryLimit = 30;
static const int kHistoryTextLimit = 500;
static const int kDefaultReadLimit = 260;

// The text in a clipboard block, never read past the block: another program may have left out
// the terminating zero.
static size_t BlockTextLength(HGLOBAL block, const char* text)
{
    SIZE_T size = GlobalSize(block);
    const void* end = memchr(text, '\0', size);
    return end != nullptr ? static_cast<const char*>(end) - text : size;
}

int ClipboardTextLength()
{
    if (!IsClipboardFormatAvailable(CF_TEXT)) return 0;
    // Closing a clipboard we did not open would close another window's (maybe the host's).
    if (!OpenClipboard(nullptr)) return 0;
    size_t length = 0;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data != nullptr) {
        const char* text = static_cast<const char*>(GlobalLock(data));
        if (text != nullptr) {
            length = BlockTextLength(data, text);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return static_cast<int>(length);
}

int CopyClipboardText(char* destination, int capacity)
{
    if (capacity < 1 || !IsClipboardFormatAvailable(CF_TEXT)) return 0;
    if (!OpenClipboard(nullptr)) return 0;
    int copied = 0;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data != nullptr) {
        const char* text = static_cast<const char*>(GlobalLock(data));
        if (text != nullptr) {
            // The text may have grown since it was measured: never write past the caller's buffer.
            size_t length = BlockTextLength(data, text);
            size_t n = SjisCutLength(text, length, static_cast<size_t>(capacity - 1));
            memcpy(destination, text, n);
            destination[n] = '\0';
            copied = 1;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return copied;
}

int ReadClipboardText(char** slot, int limit)
{
    if (limit == 0) limit = kDefaultReadLimit;
    if (!AllocTextBuffer(slot, limit)) return 0;
    int length = ClipboardTextLength();
    if (length == 0) return 0;
    char* whole = nullptr;
    if (!AllocTextBuffer(&whole, length)) return 0;
    int result = 0;
    if (CopyClipboardText(whole, length + 1)) {
        size_t n = SjisCutLength(whole, strlen(whole), static_cast<size_t>(limit));
        memcpy(*slot, whole, n);
        (*slot)[n] = '\0';
        result = 1;
    }
    FreeTextBuffer(&whole);
    return result;
}

// A clipboard owner can ask monitors not to record its data (password managers do).
static bool IsPrivateClipboard()
{
    static const UINT exclude = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    static const UINT ignore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
    static const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
    if ((exclude && IsClipboardFormatAvailable(exclude)) || (ignore && IsClipboardFormatAvailable(ignore))) return true;
    if (!history || !IsClipboardFormatAvailable(history) || !OpenClipboard(nullptr)) return false;
    bool excluded = false;
    HANDLE data = GetClipboardData(history);
    if (data != nullptr && GlobalSize(data) >= sizeof(DWORD)) {
        const DWORD* value = static_cast<const DWORD*>(GlobalLock(data));
        if (value != nullptr) {
            excluded = *value == 0;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return excluded;
}

void OnClipboardChange(WPARAM wParam, LPARAM lParam)
{
    if (!IsPrivateClipboard()) {
        char* text = nullptr;
        if (ReadClipboardText(&text, kHistoryTextLimit) && text[0] != '\0') {
            clipHistory.Add(text);
            if (clipHistory.GetCount() > kHistoryLimit) clipHistory.RemoveAt(0);
        }
        if (plugin.historyShown == 1) {
            if (text != nullptr) clipCombo.AddItem(text, CB_INSERTSTRING, 0, 0);
            int count = clipCombo.GetCount();
            if (count > kHistoryLimit) clipCombo.DeleteItem(count - 1);
        }
        FreeTextBuffer(&text);
    }
    if (plugin.nextClipboardViewer != nullptr) SendMessageA(plugin.nextClipboardViewer, WM_DRAWCLIPBOARD, wParam, lParam);
}

void OnClipboardChainChange(WPARAM wParam, LPARAM lParam)
{
    HWND leaving = reinterpret_cast<HWND>(wParam);
    if (leaving == plugin.nextClipboardViewer) {
        plugin.nextClipboardViewer = reinterpret_cast<HWND>(lParam);
        return;
    }
    if (plugin.nextClipboardViewer != nullptr) SendMessageA(plugin.nextClipboardViewer, WM_CHANGECBCHAIN, wParam, lParam);
}

// While the list holds only part of savedItems (plugin.listIsPartial), a backup adds the saved
// items it does not show, so that none of them is lost.
int BackupClipList()
{
    // Read into a new list first: savedItems changes only when the whole list could be copied.
    CDimPack fresh;
    if (clipCombo.ReadAllItems(fresh) == -1) return 0;
    if (plugin.listIsPartial) {
        for (int i = 0; i < savedItems.GetCount(); ++i) {
            const char* text = savedItems.GetAt(i);
            if (clipCombo.FindItem(text) == -1 && !fresh.Add(text)) return 0;
        }
    }
    savedItems.Swap(fresh);
    return 1;
}

// Whether the list holds text already, letter case ignored as the clip list ignores it.
static bool HoldsText(const CDimPack& list, const char* text)
{
    for (int i = 0; i < list.GetCount(); ++i) {
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, list.GetAt(i), -1, text, -1) == CSTR_EQUAL) return true;
    }
    return false;
}

int BackupClosingClipList()
{
    if (BackupClipList()) return 1;
    // The list is about to go and a whole copy of it cannot be had: savedItems keeps what it
    // holds and takes the list's items it lacks, for as long as memory allows. That needs memory
    // for the new items only.
    char* text = nullptr;
    int count = clipCombo.GetCount();
    for (int i = 0; i < count; ++i) {
        if (clipCombo.GetItemText(&text, i) <= 0) continue;
        if (!HoldsText(savedItems, text) && !savedItems.Add(text)) break;
    }
    FreeTextBuffer(&text);
    return 0;
}

int SwitchClipList(BYTE showHistory, bool* listChanged)
{
    if (listChanged != nullptr) *listChanged = false;
    if (showHistory == 1) {
        // The list is given up only once its items are safe in savedItems.
        if (!BackupClipList()) return 0;
        if (clipHistory.GetCount() == 0) {
            ShowStatus("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ履歴がありません！！", 1);
            return 0;
        }
        if (listChanged != nullptr) *listChanged = true;
        plugin.listIsPartial = false;
        // Emptied, then every entry on top in turn: the newest ends on top.
        return clipCombo.ReplaceWithItemsOnTop(clipHistory.Texts(), clipHistory.GetCount()) == -1 ? 0 : 1;
    }
    // Emptied, then the saved items at the end in turn. savedItems is only ever a copy of the
    // list, whose items are all different: nothing to search for.
    if (listChanged != nullptr) *listChanged = true;
    plugin.listIsPartial = clipCombo.ReplaceWithDistinctItems(savedItems.Texts(), savedItems.GetCount()) == -1;
    return plugin.listIsPartial ? 0 : 1;
}
