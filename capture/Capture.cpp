#include "capture/Capture.h"
#include "capture/Status.h"
#include "capture/TextBuffer.h"
#include "cliplist/DimPack.h"
#include "common/Memory.h"
#include "common/Sjis.h"
#include "plugin/Globals.h"
#include "plugin/PluginState.h"
#include <cstdio>
#include <cstring>

static const int kStoreLimit = 5000;          // bytes of text in one saved item
static const LONG kLineEndColumn = 5000;      // the host turns it into the line's end
static const int kCaretKindLineEdge = 2;
static const int kCaretKindLine = 1;
static const int kSelectionKind = 0;
static const char kAddFailed[] = "文字列のﾘｽﾄ追加に失敗しました！！";

void QueryCaretPos(EditPos* pos, int kind)
{
    SendToHost(HOSTMSG_GET_CARET_POS, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(pos));
}

int FetchSelection(char** slot, int kind)
{
    EditPos start = {0, 0};
    EditPos end = {0, 0};
    SendToHost(HOSTMSG_GET_SEL_START, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(&start));
    SendToHost(HOSTMSG_GET_SEL_END, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(&end));
    int size = static_cast<int>(SendToHost(HOSTMSG_GET_SEL_TEXT, 0, 0));
    if (!AllocTextBuffer(slot, size)) return 0;
    // size + 1 counted in WPARAM: a host may announce INT_MAX.
    SendToHost(HOSTMSG_GET_SEL_TEXT, static_cast<WPARAM>(size) + 1, reinterpret_cast<LPARAM>(*slot));
    return size;
}

int FetchLine(char** slot, int line, int mode)
{
    LineRequest ask = {0, 1, static_cast<UINT>(line)};
    int size = static_cast<int>(SendToHost(HOSTMSG_GET_LINE, reinterpret_cast<WPARAM>(&ask), 0));
    if (size <= 0) return 0;
    if (size == 1) return 1;
    if (!AllocTextBuffer(slot, size)) return 0;
    LineRequest copy = {static_cast<UINT>(size) + 1u, static_cast<UINT>(mode == 0 ? 1 : mode), static_cast<UINT>(line)};
    SendToHost(HOSTMSG_GET_LINE, reinterpret_cast<WPARAM>(&copy), reinterpret_cast<LPARAM>(*slot));
    return size;
}

int ClampToStoreLimit(char** slot, int size)
{
    if (*slot == nullptr) return 0;
    // What the host copied is measured, whatever size it announced: it may copy more than it
    // said (into the buffer's spare bytes) or less. The slot's block holds size + 5 bytes; a host
    // that wrote over even the last of them has its text cut to the block, not read past it.
    size_t block = size > 0 ? static_cast<size_t>(size) + 5 : static_cast<size_t>(-1);
    size_t length = strnlen(*slot, block < kStoreLimit + 1u ? block : kStoreLimit + 1u);
    bool unterminated = length == block;
    size_t limit = unterminated ? block - 1 : kStoreLimit;
    if (length <= limit) return 1;
    // Cut in place, keeping whole characters: a double-byte character across the limit goes
    // entirely.
    size_t keep = SjisCutLength(*slot, length, limit);
    memset(*slot + keep, 0, length - keep);
    if (unterminated) return 1;
    char message[128];
    snprintf(message, sizeof message, "取得文字列の、%d バイト（保存上限）以降を切り捨てました！！", kStoreLimit);
    ShowStatus(message, 1);
    return -1;
}

static void StoreCapturedText(char** slot, int size)
{
    if (ClampToStoreLimit(slot, size) == 0) return;
    if (clipCombo.AddItem(*slot, CB_INSERTSTRING, 0, 0) == -1) ShowStatus(kAddFailed, 1);
    FreeTextBuffer(slot);
}

// Selects from the anchor column of the caret's line to the caret and stores the range.
static void CaptureCaretRange(LONG anchorColumn)
{
    EditPos caret = {0, 0};
    QueryCaretPos(&caret, kCaretKindLineEdge);
    EditPos anchor = {anchorColumn, caret.line};
    SetFocus(plugin.bandView);
    SendToHost(HOSTMSG_CONVERT_POS, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&anchor));
    SendToHost(HOSTMSG_CONVERT_POS, reinterpret_cast<WPARAM>(&caret), reinterpret_cast<LPARAM>(&caret));
    SendToHost(HOSTMSG_SET_SELECTION, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&caret));
    SendToHost(HOSTMSG_SET_SELECTION, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&caret));
    int size = static_cast<int>(SendToHost(HOSTMSG_GET_SEL_TEXT, 0, 0));
    if (size < 2) return;
    char* slot = nullptr;
    if (!AllocTextBuffer(&slot, size)) return;
    SendToHost(HOSTMSG_GET_SEL_TEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(slot));
    StoreCapturedText(&slot, size);
}

void CaptureToCaret()
{
    CaptureCaretRange(0);
}

void CaptureFromCaret()
{
    CaptureCaretRange(kLineEndColumn);
}

// Adds every line of text to the top of the clip list, the first line ending on top. Without the
// memory to split the text nothing is added, and the failure is told as any refused item is.
static void AddLinesOf(const char* text)
{
    CDimPack lines;
    const char* p = text;
    while (*p != '\0') {
        size_t n = strcspn(p, "\r\n");
        if (n > 0 && !lines.Add(p, n)) {
            ShowStatus(kAddFailed, 1);
            return;
        }
        p += n;
        p += strspn(p, "\r\n");
    }
    // Added from the last line to the first, each on top.
    int count = lines.GetCount();
    MemArray<const char*> texts;
    if (!texts.Allocate(static_cast<size_t>(count))) {
        ShowStatus(kAddFailed, 1);
        return;
    }
    for (int i = 0; i < count; ++i) texts[static_cast<size_t>(i)] = lines.GetAt(count - 1 - i);
    if (clipCombo.AddItemsOnTop(texts.Data(), count) == -1) ShowStatus(kAddFailed, 1);
}

void CaptureSelection()
{
    char* slot = nullptr;
    int size = FetchSelection(&slot, kSelectionKind);
    if (size < 2) {
        FreeTextBuffer(&slot);
        return;
    }
    if (ClampToStoreLimit(&slot, size) == 0) return;
    if (GetKeyState(VK_CONTROL) < 0) {
        AddLinesOf(slot);
    } else if (clipCombo.AddItem(slot, CB_INSERTSTRING, 0, 0) == -1) {
        ShowStatus(kAddFailed, 1);
    }
    FreeTextBuffer(&slot);
}

void CaptureCaretLine()
{
    EditPos caret = {0, 0};
    QueryCaretPos(&caret, kCaretKindLine);
    char* slot = nullptr;
    int size = FetchLine(&slot, caret.line, 1);
    if (size < 2) {
        FreeTextBuffer(&slot);
        return;
    }
    StoreCapturedText(&slot, size);
}
