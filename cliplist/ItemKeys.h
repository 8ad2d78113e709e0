// The clip list's notion of "the same item", without asking the list item by item.
//
// The list box finds equal items with CompareStringW in its own locale, letter case ignored, on
// the wide form of each text (ANSI texts reach it converted from the ANSI code page). Two texts
// that compare equal that way have equal sort keys (LCMapStringW, LCMAP_SORTKEY, the same
// flags): sort keys are what that comparison compares. So texts can be grouped by sort key, and
// each group confirmed with the comparison itself.
#pragma once
#include <windows.h>

// One text's key: its wide form and its sort key, in one block that the key owns. A key starts
// zero-filled and is released with FreeItemKey.
struct ItemKey {
    void* block;
    WCHAR* wide;    // the text as the list box holds it, zero-terminated
    BYTE* sortKey;
    int keyLength;  // bytes of sortKey
};

// Releases what the key held and makes room for a wide text of up to `length` characters and its
// zero, for the caller to fill before FinishItemKey; null when out of memory.
WCHAR* PrepareItemKey(ItemKey& key, int length);
// Makes the sort key of the wide text in the key's block; false when out of memory or when the
// system cannot make one (the caller then falls back to asking the list).
bool FinishItemKey(LCID locale, ItemKey& key);
// Both steps for an ANSI text.
bool MakeItemKey(LCID locale, const char* text, ItemKey& key);
void FreeItemKey(ItemKey& key);
// The order of sort keys (negative, 0, positive); equal keys give 0.
int CompareSortKeys(const ItemKey& a, const ItemKey& b);
// The list box's own test: equal, letter case ignored.
bool SameItem(LCID locale, const ItemKey& a, const ItemKey& b);
