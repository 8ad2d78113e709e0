#include "capture/ClipHistory.h"
#include "capture/Status.h"
#include "capture/TextBuffer.h"
#include "common/Memory.h"
#include "common/Sjis.h"
#include "common/WideText.h"
#include "plugin/Globals.h"
#include "plugin/PluginState.h"
#include "res/resource.h"
#include <cstring>

static const int kHistoryLimit = 30;
static const int kHistoryTextLimit = 500;
static const int kDefaultReadLimit = 260;
// Another program holding the clipboard: tries every 25 ms for a quarter of a second.
static const UINT kRetryPeriodMs = 25;
static const int kRetryTries = 10;

// The text in a clipboard block, never read past the block: another program may have left out
// the terminating zero.
static size_t BlockTextLength(HGLOBAL block, const char* text)
{
    SIZE_T size = GlobalSize(block);
    const void* end = memchr(text, '\0', size);
    return end != nullptr ? static_cast<const char*>(end) - text : size;
}

// Opening fails while another window holds the clipboard; *busy (when given) tells the caller
// so, apart from "no text".
static bool OpenForReading(bool* busy)
{
    if (OpenClipboard(nullptr)) return true;
    if (busy != nullptr) *busy = true;
    return false;
}

// The text format the copying program wrote itself: the first of the two in the clipboard's own
// order, as the system's synthesized forms come after the program's. An ANSI program's CF_TEXT
// holds the bytes it wrote; a Unicode program's CF_TEXT would be the system's conversion with the
// copier's keyboard layout ("?" for Japanese under an English one), so its CF_UNICODETEXT is
// converted here. Called with the clipboard open.
static UINT OwnTextFormat()
{
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        if (format == CF_TEXT || format == CF_UNICODETEXT) return format;
    }
    return CF_TEXT;
}

// The opened clipboard's text in code page 932, copied into destination cut to capacity - 1 bytes
// on a character boundary; with destination null, only measured. Returns the bytes copied, or
// measured, and -1 when there was no text block to read; *empty tells an empty text apart.
static long long OpenedText(char* destination, int capacity, bool* empty = nullptr)
{
    UINT format = OwnTextFormat();
    HANDLE data = GetClipboardData(format);
    if (data == nullptr) return -1;
    const void* block = GlobalLock(data);
    if (block == nullptr) return -1;
    size_t bytes = 0;
    size_t room = destination != nullptr ? static_cast<size_t>(capacity - 1) : 0;
    if (format == CF_UNICODETEXT) {
        // Never read past the block: another program may have left out the terminating zero.
        const wchar_t* text = static_cast<const wchar_t*>(block);
        size_t units = GlobalSize(data) / sizeof(wchar_t);
        if (empty != nullptr) *empty = units == 0 || text[0] == L'\0';
        // Converted only as far as the copy goes: a long text costs no more than its first bytes.
        bytes = WideToCp932(text, units, destination, room);
        if (destination != nullptr) destination[bytes] = '\0';
    } else {
        const char* text = static_cast<const char*>(block);
        bytes = BlockTextLength(data, text);
        if (empty != nullptr) *empty = bytes == 0;
        if (destination != nullptr) {
            // The text may have grown since it was measured: never write past the caller's buffer.
            bytes = SjisCutLength(text, bytes, room);
            memcpy(destination, text, bytes);
            destination[bytes] = '\0';
        }
    }
    GlobalUnlock(data);
    return static_cast<long long>(bytes);
}

static bool HasText()
{
    return IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT);
}

static int ClipboardTextLength(bool* busy)
{
    if (!HasText()) return 0;
    // Closing a clipboard we did not open would close another window's (maybe the host's).
    if (!OpenForReading(busy)) return 0;
    long long length = OpenedText(nullptr, 0);
    CloseClipboard();
    return length > 0 ? static_cast<int>(length) : 0;
}

int ClipboardTextLength()
{
    return ClipboardTextLength(nullptr);
}

// Copies the clipboard's text in one opening, cut to capacity - 1 bytes on a character
// boundary; *empty (when given) tells an empty text. 0 when nothing could be copied.
static int CopyOpenedText(char* destination, int capacity, bool* busy, bool* empty)
{
    if (!OpenForReading(busy)) return 0;
    long long copied = OpenedText(destination, capacity, empty);
    CloseClipboard();
    return copied < 0 ? 0 : 1;
}

static int CopyClipboardText(char* destination, int capacity, bool* busy)
{
    if (capacity < 1 || !HasText()) return 0;
    return CopyOpenedText(destination, capacity, busy, nullptr);
}

int CopyClipboardText(char* destination, int capacity)
{
    return CopyClipboardText(destination, capacity, nullptr);
}

// The formats on the clipboard, read once; asked one by one when the list does not fit.
class ClipboardFormats {
public:
    ClipboardFormats() { listed = GetUpdatedClipboardFormats(formats, kMaxFormats, &count) != FALSE; }
    bool Has(UINT format) const
    {
        if (format == 0) return false;
        if (!listed) return IsClipboardFormatAvailable(format) != FALSE;
        for (UINT i = 0; i < count && i < kMaxFormats; ++i) {
            if (formats[i] == format) return true;
        }
        return false;
    }

    // Text that CF_TEXT can be had in: the system converts between the three text formats.
    bool HasText() const
    {
        if (!listed) return IsClipboardFormatAvailable(CF_TEXT) != FALSE;
        return Has(CF_TEXT) || Has(CF_UNICODETEXT) || Has(CF_OEMTEXT);
    }

private:
    static const UINT kMaxFormats = 64;
    UINT formats[kMaxFormats];
    UINT count = 0;
    bool listed = false;
};

static int ReadClipboardText(char** slot, int limit, bool* busy, const ClipboardFormats& formats)
{
    if (busy != nullptr) *busy = false;
    if (limit == 0) limit = kDefaultReadLimit;
    if (!AllocTextBuffer(slot, limit)) return 0;
    if (!formats.HasText()) return 0;
    // Measured and copied in one opening: the text cannot change in between, and every opening
    // is a round trip that other programs wait on.
    bool empty = true;
    return CopyOpenedText(*slot, limit + 1, busy, &empty) && !empty ? 1 : 0;
}

int ReadClipboardText(char** slot, int limit, bool* busy)
{
    return ReadClipboardText(slot, limit, busy, ClipboardFormats());
}

enum class Privacy { Open, Private, Busy };

// A clipboard owner can ask monitors not to record its data (password managers do).
static Privacy ClipboardPrivacy(const ClipboardFormats& formats)
{
    static const UINT exclude = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    static const UINT ignore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
    static const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
    if (formats.Has(exclude) || formats.Has(ignore)) return Privacy::Private;
    if (!formats.Has(history)) return Privacy::Open;
    if (!OpenClipboard(nullptr)) return Privacy::Busy;
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
    return excluded ? Privacy::Private : Privacy::Open;
}

// Records the clipboard's text; false when another window held the clipboard, so nothing could
// be read and nothing was recorded.
static bool RecordClipboard()
{
    // One list of the formats instead of a question for each (each is a round trip).
    ClipboardFormats formats;
    Privacy privacy = ClipboardPrivacy(formats);
    if (privacy == Privacy::Busy) return false;
    if (privacy == Privacy::Private) return true;
    char* text = nullptr;
    bool busy = false;
    bool read = ReadClipboardText(&text, kHistoryTextLimit, &busy, formats) != 0;
    if (busy) {
        FreeTextBuffer(&text);
        return false;
    }
    if (read && text[0] != '\0') {
        clipHistory.Add(text);
        if (clipHistory.GetCount() > kHistoryLimit) clipHistory.RemoveAt(0);
    }
    if (plugin.historyShown == 1) {
        if (text != nullptr) clipCombo.AddItem(text, CB_INSERTSTRING, 0, 0);
        int count = clipCombo.GetCount();
        if (count > kHistoryLimit) clipCombo.DeleteItem(count - 1);
    }
    FreeTextBuffer(&text);
    return true;
}

// The retry's timer always belongs to the band's dialog, named by the caller: the first notice
// comes while the dialog is being made, before plugin.bandDialog names it, and a timer without a
// window would tick for as long as the editor runs.
static void StopClipboardRetry(HWND dialog)
{
    if (!plugin.clipboardRetry) return;
    plugin.clipboardRetry = false;
    KillTimer(dialog, CLIPBOARD_TIMER_ID);
}

void CancelClipboardRetry()
{
    StopClipboardRetry(plugin.bandDialog);
}

static void Handled(DWORD sequence)
{
    plugin.clipboardHandled = true;
    plugin.handledSequence = sequence;
}

void StartClipboardWatch(HWND dialog)
{
    plugin.clipboardHandled = false;
    AddClipboardFormatListener(dialog);
    // The listener is told of changes only: the text there as the band opens is recorded now.
    OnClipboardChange(dialog);
}

void ResumeClipboardWatch(HWND dialog)
{
    // What is on the clipboard now was copied while the history was off: only later copies count.
    Handled(GetClipboardSequenceNumber());
    AddClipboardFormatListener(dialog);
}

void StopClipboardWatch(HWND dialog)
{
    RemoveClipboardFormatListener(dialog);
    KillTimer(dialog, CLIPBOARD_TIMER_ID);
    plugin.clipboardRetry = false;
}

// Clipboard tools, remote-desktop clients and the system's own history open the clipboard the
// moment it changes, just as the notice reaches us: the read is tried again a few times instead
// of holding the editor's thread.
void OnClipboardChange(HWND dialog)
{
    // Taken before the read: a text that arrives during a failed read has a number of its own,
    // so the retry leaves it to its own notice instead of recording it a second time.
    DWORD sequence = GetClipboardSequenceNumber();
    // The notices are posted: two changes before this thread looks leave two notices of the
    // second text, which is recorded once. The first text is gone, as a text replaced during a
    // retry is.
    if (plugin.clipboardHandled && sequence == plugin.handledSequence) return;
    // A pending text has been replaced: it is gone, and this one is read instead.
    StopClipboardRetry(dialog);
    if (RecordClipboard()) {
        Handled(sequence);
        return;
    }
    plugin.clipboardSequence = sequence;
    plugin.clipboardTries = 0;
    plugin.clipboardRetry = SetTimer(dialog, CLIPBOARD_TIMER_ID, kRetryPeriodMs, nullptr) != 0;
}

void OnClipboardRetry(HWND dialog)
{
    if (!plugin.clipboardRetry) {
        KillTimer(dialog, CLIPBOARD_TIMER_ID);
        return;
    }
    // A change since then brings its own notice, which reads that text; this one is gone.
    if (GetClipboardSequenceNumber() != plugin.clipboardSequence) {
        StopClipboardRetry(dialog);
        return;
    }
    if (RecordClipboard()) {
        Handled(plugin.clipboardSequence);
        StopClipboardRetry(dialog);
    } else if (++plugin.clipboardTries >= kRetryTries) {
        StopClipboardRetry(dialog);
    }
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

// The clip list emptied and filled with `list`: every text on top in turn, or the texts of a
// copy of the list at the end. The batch fill borrows the texts by pointer; without memory for
// the pointers the texts go in one by one, as the batch would have put them.
int ReplaceClipList(const CDimPack& list, bool onTop)
{
    int count = list.GetCount();
    MemArray<const char*> texts;
    if (count > 0 && texts.Allocate(static_cast<size_t>(count))) {
        for (int i = 0; i < count; ++i) texts[static_cast<size_t>(i)] = list.GetAt(i);
        return onTop ? clipCombo.ReplaceWithItemsOnTop(texts.Data(), count)
                     : clipCombo.ReplaceWithDistinctItems(texts.Data(), count);
    }
    clipCombo.DeleteAll();
    for (int i = 0; i < count; ++i) {
        if (clipCombo.AddItem(list.GetAt(i), CB_INSERTSTRING, onTop ? 0 : -1, 0) == -1) return -1;
    }
    return count;
}

int SwitchClipList(BYTE showHistory, bool* refillOnFailure)
{
    if (refillOnFailure != nullptr) *refillOnFailure = false;
    if (showHistory == 1) {
        // The list is given up only once its items are safe in savedItems.
        if (!BackupClipList()) return 0;
        if (refillOnFailure != nullptr) *refillOnFailure = true;
        if (clipHistory.GetCount() == 0) {
            ShowStatus("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ履歴がありません！！", 1);
            return 0;
        }
        plugin.listIsPartial = false;
        // Emptied, then every entry on top in turn: the newest ends on top.
        return ReplaceClipList(clipHistory, true) == -1 ? 0 : 1;
    }
    // Emptied, then the saved items at the end in turn. savedItems is only ever a copy of the
    // list, whose items are all different: nothing to search for.
    if (refillOnFailure != nullptr) *refillOnFailure = true;
    plugin.listIsPartial = ReplaceClipList(savedItems, false) == -1;
    return plugin.listIsPartial ? 0 : 1;
}
