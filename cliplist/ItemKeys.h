// The clip list's notion of "the same item", without asking the list item by item.
//
// The list box finds equal items with CompareStringW in its own locale, letter case ignored, on
// the wide form of each text (ANSI texts reach it converted from the ANSI code page). Two texts
// that compare equal that way have equal sort keys (LCMapStringW, LCMAP_SORTKEY, the same
// flags): sort keys are what that comparison compares. So texts can be grouped by sort key in
// one pass, and each group confirmed with the comparison itself.
#pragma once
#include <windows.h>
#include <string>

struct ItemKey {
    std::wstring wide;   // the text as the list box holds it
    std::string sortKey;
};

// The key of an ANSI text, or of a text already in wide form; false when the system cannot
// make one (the caller then falls back to asking the list).
bool MakeItemKey(LCID locale, const char* text, ItemKey& key);
bool MakeItemKey(LCID locale, std::wstring wide, ItemKey& key);
// The list box's own test: equal, letter case ignored.
bool SameItem(LCID locale, const ItemKey& a, const ItemKey& b);
