#include "cliplist/ItemKeys.h"
#include "common/Memory.h"
#include <climits>
#include <cstring>
#include <cwchar>

static const DWORD kCompareFlags = NORM_IGNORECASE;
static const int kMaxLength = (INT_MAX - 16) / 8;

// A sort key takes a few bytes per character: a generous guess is asked for first, and the exact
// size only when that is not enough.
static int GuessKeySize(int length)
{
    return length * 8 + 16;
}

// A block holding `wideRoom` characters and then `keyRoom` bytes of sort key.
static bool AllocKeyBlock(ItemKey& key, int wideRoom, int keyRoom)
{
    size_t wideBytes = static_cast<size_t>(wideRoom) * sizeof(WCHAR);
    key.block = MemAlloc(wideBytes + static_cast<size_t>(keyRoom));
    if (key.block == nullptr) return false;
    key.wide = static_cast<WCHAR*>(key.block);
    key.sortKey = static_cast<BYTE*>(key.block) + wideBytes;
    key.keyLength = 0;
    return true;
}

WCHAR* PrepareItemKey(ItemKey& key, int length)
{
    FreeItemKey(key);
    if (length < 0 || length > kMaxLength) return nullptr;
    if (!AllocKeyBlock(key, length + 1, GuessKeySize(length))) return nullptr;
    key.wide[0] = L'\0';
    return key.wide;
}

bool FinishItemKey(LCID locale, ItemKey& key)
{
    if (key.block == nullptr) return false;
    int length = static_cast<int>(wcslen(key.wide));
    int made = LCMapStringW(locale, LCMAP_SORTKEY | kCompareFlags, key.wide, -1,
                            reinterpret_cast<LPWSTR>(key.sortKey), GuessKeySize(length));
    if (made == 0) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        int size = LCMapStringW(locale, LCMAP_SORTKEY | kCompareFlags, key.wide, -1, nullptr, 0);
        if (size <= 0) return false;
        ItemKey larger = ItemKey();
        if (!AllocKeyBlock(larger, length + 1, size)) return false;
        memcpy(larger.wide, key.wide, static_cast<size_t>(length + 1) * sizeof(WCHAR));
        FreeItemKey(key);
        key = larger;
        made = LCMapStringW(locale, LCMAP_SORTKEY | kCompareFlags, key.wide, -1, reinterpret_cast<LPWSTR>(key.sortKey), size);
        if (made == 0) return false;
    }
    key.keyLength = made;
    return true;
}

bool MakeItemKey(LCID locale, const char* text, ItemKey& key)
{
    // Converted with its terminator, as the system converts the text of an ANSI message.
    size_t bytes = strlen(text);
    if (bytes > static_cast<size_t>(kMaxLength)) return false;
    int capacity = static_cast<int>(bytes) + 1;
    WCHAR* wide = PrepareItemKey(key, capacity - 1);
    if (wide == nullptr || MultiByteToWideChar(CP_ACP, 0, text, -1, wide, capacity) == 0) return false;
    return FinishItemKey(locale, key);
}

void FreeItemKey(ItemKey& key)
{
    MemFree(key.block);
    key = ItemKey();
}

int CompareSortKeys(const ItemKey& a, const ItemKey& b)
{
    int shorter = a.keyLength < b.keyLength ? a.keyLength : b.keyLength;
    int order = memcmp(a.sortKey, b.sortKey, static_cast<size_t>(shorter));
    if (order != 0) return order;
    return a.keyLength < b.keyLength ? -1 : a.keyLength > b.keyLength ? 1 : 0;
}

bool SameItem(LCID locale, const ItemKey& a, const ItemKey& b)
{
    return CompareStringW(locale, kCompareFlags, a.wide, -1, b.wide, -1) == CSTR_EQUAL;
}
