#include "cliplist/ItemKeys.h"
#include <cstring>
#include <cwchar>
#include <utility>

static const DWORD kCompareFlags = NORM_IGNORECASE;

bool MakeItemKey(LCID locale, const char* text, ItemKey& key)
{
    // Converted with its terminator, as the system converts the text of an ANSI message.
    int capacity = static_cast<int>(strlen(text)) + 1;
    std::wstring wide(static_cast<size_t>(capacity), L'\0');
    int converted = MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], capacity);
    if (converted == 0) return false;
    wide.resize(wcslen(wide.c_str()));
    return MakeItemKey(locale, std::move(wide), key);
}

bool MakeItemKey(LCID locale, std::wstring wide, ItemKey& key)
{
    key.wide = std::move(wide);
    // A sort key takes a few bytes per character; ask for the exact size only when a generous
    // guess is not enough.
    int size = static_cast<int>(key.wide.size()) * 8 + 16;
    for (int attempt = 0; attempt < 2; ++attempt) {
        key.sortKey.resize(static_cast<size_t>(size));
        int made = LCMapStringW(locale, LCMAP_SORTKEY | kCompareFlags, key.wide.c_str(), -1,
                                reinterpret_cast<LPWSTR>(&key.sortKey[0]), size);
        if (made > 0) {
            key.sortKey.resize(static_cast<size_t>(made));
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        size = LCMapStringW(locale, LCMAP_SORTKEY | kCompareFlags, key.wide.c_str(), -1, nullptr, 0);
        if (size <= 0) return false;
    }
    return false;
}

bool SameItem(LCID locale, const ItemKey& a, const ItemKey& b)
{
    return CompareStringW(locale, kCompareFlags, a.wide.c_str(), -1, b.wide.c_str(), -1) == CSTR_EQUAL;
}
