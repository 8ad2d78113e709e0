// Adding many items at once (a refill, a split selection, the history view): the list that adding
// them one by one gives, without a search through the whole list, a repaint and a resize for
// every single item.
#include "cliplist/Cmb.h"
#include "cliplist/CmbTexts.h"
#include "cliplist/ItemKeys.h"
#include "capture/TextBuffer.h"
#include "common/Memory.h"
#include <algorithm>
#include <climits>

namespace {

// The keys of a run of texts, released together.
class KeyArray {
public:
    ~KeyArray()
    {
        for (size_t i = 0; i < keys.Size(); ++i) FreeItemKey(keys[i]);
    }
    bool Allocate(int count) { return keys.Allocate(static_cast<size_t>(count)); }
    ItemKey& operator[](int index) const { return keys[static_cast<size_t>(index)]; }

private:
    MemArray<ItemKey> keys;
};

// Text indexes in the order of their keys; of equal keys the text added later comes first.
struct ByKeyLaterFirst {
    const KeyArray* keys;
    bool operator()(int a, int b) const
    {
        int order = CompareSortKeys((*keys)[a], (*keys)[b]);
        return order != 0 ? order < 0 : a > b;
    }
};

// What adding the texts one by one does to the list: which items go, and what comes in where.
struct ItemPlan {
    MemArray<int> removed;            // indexes of items equal to a text, ascending
    int removedCount = 0;
    MemArray<const char*> incoming;   // one text per group of equal texts, in list order
    int incomingCount = 0;
};

// The key of item `index` as the list holds it.
bool ReadItemKey(HWND combo, int index, LCID locale, ItemKey& key)
{
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0 || length > INT_MAX - 1) return false;
    WCHAR* wide = PrepareItemKey(key, static_cast<int>(length));
    if (wide == nullptr) return false;
    LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide));
    if (copied < 0 || copied > length) return false;
    wide[copied] = L'\0';
    return FinishItemKey(locale, key);
}

// Of the texts that stay (`kept`, in key order), the one with the item's key; -1 when none has it.
int FindKept(const KeyArray& keys, const MemArray<int>& kept, int keptCount, const ItemKey& item)
{
    int low = 0;
    int high = keptCount;
    while (low < high) {
        int middle = low + (high - low) / 2;
        int order = CompareSortKeys(keys[kept[static_cast<size_t>(middle)]], item);
        if (order == 0) return kept[static_cast<size_t>(middle)];
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return -1;
}

// Each added text removes every equal item, so of a group of equal texts only the last added
// stays, and it is placed by when it was added. False when memory runs out, when a key cannot be
// made, or when two texts have the same key but the list would not take them as equal: the
// caller then adds the texts one by one.
bool PlanItems(HWND combo, const char* const* texts, int count, bool onTop, ItemPlan& plan)
{
    LCID locale = static_cast<LCID>(SendMessageW(combo, CB_GETLOCALE, 0, 0));
    KeyArray keys;
    MemArray<int> order;
    MemArray<bool> stays;
    if (!keys.Allocate(count) || !order.Allocate(static_cast<size_t>(count)) || !stays.Allocate(static_cast<size_t>(count)))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!MakeItemKey(locale, texts[i], keys[i])) return false;
        order[static_cast<size_t>(i)] = i;
    }
    std::sort(order.Data(), order.Data() + count, ByKeyLaterFirst{&keys});
    // The first of each run of equal keys stays; `order` keeps the staying ones, in key order.
    int keptCount = 0;
    for (int r = 0; r < count;) {
        int first = order[static_cast<size_t>(r)];
        int next = r + 1;
        for (; next < count && CompareSortKeys(keys[order[static_cast<size_t>(next)]], keys[first]) == 0; ++next) {
            if (!SameItem(locale, keys[order[static_cast<size_t>(next)]], keys[first])) return false;
        }
        stays[static_cast<size_t>(first)] = true;
        order[static_cast<size_t>(keptCount++)] = first;
        r = next;
    }
    if (!plan.incoming.Allocate(static_cast<size_t>(keptCount))) return false;
    // Newest first: that is the order on top; at the end the newest is last.
    for (int i = count; i-- > 0;) {
        if (!stays[static_cast<size_t>(i)]) continue;
        int at = onTop ? plan.incomingCount : keptCount - 1 - plan.incomingCount;
        plan.incoming[static_cast<size_t>(at)] = texts[i];
        ++plan.incomingCount;
    }

    LRESULT items = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    if (items < 0 || !plan.removed.Allocate(static_cast<size_t>(items))) return false;
    ItemKey item = {};
    bool planned = true;
    for (int index = 0; index < items; ++index) {
        if (!ReadItemKey(combo, index, locale, item)) {
            planned = false;
            break;
        }
        int equal = FindKept(keys, order, keptCount, item);
        if (equal < 0) continue;
        if (!SameItem(locale, item, keys[equal])) {
            planned = false;
            break;
        }
        plan.removed[static_cast<size_t>(plan.removedCount++)] = index;
    }
    FreeItemKey(item);
    return planned;
}

// Redraw off while the list changes; on again, and everything repainted, when this goes. A
// list that is not visible is left alone: WM_SETREDRAW TRUE would show a hidden window.
class RedrawPause {
public:
    explicit RedrawPause(HWND combo) : combo(combo != nullptr && IsWindowVisible(combo) ? combo : nullptr)
    {
        if (this->combo != nullptr) SendMessageA(this->combo, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawPause()
    {
        if (combo == nullptr) return;
        SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(combo, nullptr, TRUE);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND combo;
};

} // namespace

int CCmb::AddItemsOnTop(const char* const* texts, int count)
{
    return AddItems(texts, count, true);
}

int CCmb::AddItemsAtEnd(const char* const* texts, int count)
{
    return AddItems(texts, count, false);
}

int CCmb::AppendDistinctItems(const char* const* texts, int count)
{
    if (!CheckId()) return -1;
    HWND combo = GetComboWindow(controlId);
    if (combo == nullptr) return -1;
    if (count <= 0) return 0;
    if (SendMessageA(combo, CB_GETCOUNT, 0, 0) != 0) return AddItems(texts, count, false);
    for (int i = 0; i < count; ++i) {
        if (texts[i] == nullptr || texts[i][0] == '\0') return AddItemsOneByOne(texts, count, false);
    }
    {
        RedrawPause pause(combo);
        for (int i = 0; i < count; ++i) {
            if (SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(texts[i])) < 0) {
                Report(kCmbAddFailed);
                return -1;
            }
        }
        if (SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(count - 1), 0) == CB_ERR) {
            Report(kCmbSelectFailed);
            return -1;
        }
    }
    if (!ApplyItemsHeight()) return -1;
    return count;
}

int CCmb::ReplaceWithItemsOnTop(const char* const* texts, int count)
{
    return ReplaceItems(texts, count, true);
}

int CCmb::ReplaceWithDistinctItems(const char* const* texts, int count)
{
    return ReplaceItems(texts, count, false);
}

int CCmb::ReplaceItems(const char* const* texts, int count, bool onTop)
{
    if (count <= 0) {
        DeleteAll();
        return 0;
    }
    bool known = CheckId();
    int cleared = -1;
    int added = -1;
    {
        // A visible list repaints itself as it is emptied: the clear and the adds repaint once
        // (the adds' own pause finds the list paused and leaves it to this one).
        RedrawPause pause(known ? GetComboWindow(controlId) : nullptr);
        cleared = known ? DeleteAllWorker(controlId) : -1;
        added = onTop ? AddItemsOnTop(texts, count) : AppendDistinctItems(texts, count);
    }
    // What DeleteAll's own resize and the adds after it leave, when the adds did not resize.
    if (cleared != -1 && added == -1) {
        if (GetCount() == 0) {
            ApplyListHeight(0);
        } else {
            ApplyItemsHeight();
        }
    }
    return added;
}

int CCmb::ReadAllItems(CDimPack& into)
{
    if (!CheckId()) return -1;
    HWND combo = GetComboWindow(controlId);
    if (combo == nullptr) return -1;
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    if (count == CB_ERR || count == CB_ERRSPACE) return -1;
    char* text = nullptr;
    LRESULT room = 0;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == CB_ERR) {
            Report(kCmbNoLength);
            continue;
        }
        if (length < 1) continue;
        // An item that cannot be copied for want of memory fails the whole read: a list
        // without it must not pass for the list. The buffer is made larger only when an item
        // needs it (the list writes each text with its terminating zero).
        if (length > room) {
            if (length > INT_MAX - 5 || !AllocTextBuffer(&text, static_cast<int>(length))) {
                count = -1;
                break;
            }
            room = length;
        }
        LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        if (copied == CB_ERR) {
            Report(kCmbNoText);
        } else if (copied > 0 && !into.Add(text)) {
            count = -1;
            break;
        }
    }
    FreeTextBuffer(&text);
    return static_cast<int>(count);
}

int CCmb::FindItem(const char* text)
{
    if (!CheckId()) return -1;
    HWND combo = GetComboWindow(controlId);
    if (combo == nullptr || text == nullptr || text[0] == '\0') return -1;
    LRESULT found = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    return found < 0 ? -1 : static_cast<int>(found);
}

int CCmb::AddItemsOneByOne(const char* const* texts, int count, bool onTop)
{
    for (int i = 0; i < count; ++i) {
        if (AddItem(texts[i], CB_INSERTSTRING, onTop ? 0 : -1, 0) == -1) return -1;
    }
    return count;
}

int CCmb::AddItems(const char* const* texts, int count, bool onTop)
{
    if (!CheckId()) return -1;
    HWND combo = GetComboWindow(controlId);
    if (combo == nullptr) return -1;
    if (count <= 0) return 0;
    for (int i = 0; i < count; ++i) {
        // An empty text stops the loop half-way: leave that to the loop itself.
        if (texts[i] == nullptr || texts[i][0] == '\0') return AddItemsOneByOne(texts, count, onTop);
    }
    // Without the memory for a plan the texts still go in, one by one.
    ItemPlan plan;
    if (!PlanItems(combo, texts, count, onTop, plan)) return AddItemsOneByOne(texts, count, onTop);

    {
        RedrawPause pause(combo);
        for (int i = plan.removedCount; i-- > 0;) {
            if (SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(plan.removed[static_cast<size_t>(i)]), 0) == CB_ERR) {
                Report(kCmbDeleteFailed);
                return -1;
            }
        }
        LRESULT left = SendMessageA(combo, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < plan.incomingCount; ++i) {
            WPARAM where = onTop ? static_cast<WPARAM>(i) : static_cast<WPARAM>(-1);
            if (SendMessageA(combo, CB_INSERTSTRING, where, reinterpret_cast<LPARAM>(plan.incoming[static_cast<size_t>(i)])) < 0) {
                Report(kCmbAddFailed);
                return -1;
            }
        }
        WPARAM selected = onTop ? 0 : static_cast<WPARAM>(left + plan.incomingCount - 1);
        if (SendMessageA(combo, CB_SETCURSEL, selected, 0) == CB_ERR) {
            Report(kCmbSelectFailed);
            return -1;
        }
    }
    if (!ApplyItemsHeight()) return -1;
    return count;
}
