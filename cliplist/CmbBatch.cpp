// Adding many items at once (a refill, a split selection, the history view): the list that adding
// them one by one gives, without a search through the whole list, a repaint and a resize for
// every single item.
#include "cliplist/Cmb.h"
#include "cliplist/CmbTexts.h"
#include "cliplist/ItemKeys.h"
#include "capture/TextBuffer.h"
#include <algorithm>
#include <climits>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// What adding the texts one by one does to the list: which items go, and what comes in where.
struct ItemPlan {
    std::vector<int> removed;           // indexes of items equal to a text, ascending
    std::vector<const char*> incoming;  // one text per group of equal texts, in list order
};

// Reads item `index` as the list holds it.
bool ReadItem(HWND combo, int index, std::wstring& text)
{
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return false;
    text.assign(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    if (copied < 0) return false;
    text.resize(static_cast<size_t>(copied));
    return true;
}

// Each added text removes every equal item, so of a group of equal texts only the last added
// stays, and it is placed by when it was added. False when a key cannot be made, or when two
// texts have the same key but the list would not take them as equal: the caller then adds the
// texts one by one.
bool PlanItems(HWND combo, const std::vector<const char*>& texts, bool onTop, ItemPlan& plan)
{
    LCID locale = static_cast<LCID>(SendMessageW(combo, CB_GETLOCALE, 0, 0));
    std::vector<ItemKey> keys(texts.size());
    std::unordered_map<std::string, size_t> kept;   // sort key -> the text that stays
    kept.reserve(texts.size());
    for (size_t i = texts.size(); i-- > 0;) {
        if (!MakeItemKey(locale, texts[i], keys[i])) return false;
        auto found = kept.emplace(keys[i].sortKey, i);
        if (!found.second) {
            if (!SameItem(locale, keys[i], keys[found.first->second])) return false;
            continue;
        }
        plan.incoming.push_back(texts[i]);
    }
    // Collected newest first: that is the order on top; at the end the newest is last.
    if (!onTop) std::reverse(plan.incoming.begin(), plan.incoming.end());

    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    if (count < 0) return false;
    ItemKey item;
    std::wstring wide;
    for (int index = 0; index < count; ++index) {
        if (!ReadItem(combo, index, wide) || !MakeItemKey(locale, wide, item)) return false;
        auto found = kept.find(item.sortKey);
        if (found == kept.end()) continue;
        if (!SameItem(locale, item, keys[found->second])) return false;
        plan.removed.push_back(index);
    }
    return true;
}

// Redraw off while the list changes; on again, and everything repainted, when this goes.
class RedrawPause {
public:
    explicit RedrawPause(HWND combo) : combo(combo) { SendMessageA(combo, WM_SETREDRAW, FALSE, 0); }
    ~RedrawPause()
    {
        SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(combo, nullptr, TRUE);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND combo;
};

} // namespace

int CCmb::AddItemsOnTop(const std::vector<const char*>& texts)
{
    return AddItems(texts, true);
}

int CCmb::AddItemsAtEnd(const std::vector<const char*>& texts)
{
    return AddItems(texts, false);
}

int CCmb::AppendDistinctItems(const std::vector<const char*>& texts)
{
    if (!CheckId()) return -1;
    HWND combo = GetComboWindow(controlId);
    if (combo == nullptr) return -1;
    if (texts.empty()) return 0;
    if (SendMessageA(combo, CB_GETCOUNT, 0, 0) != 0) return AddItems(texts, false);
    for (const char* text : texts) {
        if (text == nullptr || text[0] == '\0') return AddItemsOneByOne(texts, false);
    }
    {
        RedrawPause pause(combo);
        for (const char* text : texts) {
            if (SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)) < 0) {
                Report(kCmbAddFailed);
                return -1;
            }
        }
        if (SendMessageA(combo, CB_SETCURSEL, texts.size() - 1, 0) == CB_ERR) {
            Report(kCmbSelectFailed);
            return -1;
        }
    }
    if (!ApplyItemsHeight()) return -1;
    return static_cast<int>(texts.size());
}

int CCmb::ReplaceWithItemsOnTop(const std::vector<const char*>& texts)
{
    return ReplaceItems(texts, true);
}

int CCmb::ReplaceWithDistinctItems(const std::vector<const char*>& texts)
{
    return ReplaceItems(texts, false);
}

int CCmb::ReplaceItems(const std::vector<const char*>& texts, bool onTop)
{
    if (texts.empty()) {
        DeleteAll();
        return 0;
    }
    int cleared = CheckId() ? DeleteAllWorker(controlId) : -1;
    int added = onTop ? AddItemsOnTop(texts) : AppendDistinctItems(texts);
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

int CCmb::ReadAllItems(const std::function<void(const char*)>& take)
{
    if (!CheckId()) return -1;
    HWND combo = GetComboWindow(controlId);
    if (combo == nullptr) return -1;
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    if (count == CB_ERR || count == CB_ERRSPACE) return -1;
    char* text = nullptr;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == CB_ERR) {
            Report(kCmbNoLength);
            continue;
        }
        if (length < 1 || length > INT_MAX - 5 || !AllocTextBuffer(&text, static_cast<int>(length))) continue;
        LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        if (copied == CB_ERR) {
            Report(kCmbNoText);
        } else if (copied > 0) {
            take(text);
        }
    }
    FreeTextBuffer(&text);
    return static_cast<int>(count);
}

int CCmb::AddItemsOneByOne(const std::vector<const char*>& texts, bool onTop)
{
    int added = 0;
    for (const char* text : texts) {
        if (AddItem(text, CB_INSERTSTRING, onTop ? 0 : -1, 0) == -1) return -1;
        ++added;
    }
    return added;
}

int CCmb::AddItems(const std::vector<const char*>& texts, bool onTop)
{
    if (!CheckId()) return -1;
    HWND combo = GetComboWindow(controlId);
    if (combo == nullptr) return -1;
    if (texts.empty()) return 0;
    for (const char* text : texts) {
        // An empty text stops the loop half-way: leave that to the loop itself.
        if (text == nullptr || text[0] == '\0') return AddItemsOneByOne(texts, onTop);
    }
    ItemPlan plan;
    if (!PlanItems(combo, texts, onTop, plan)) return AddItemsOneByOne(texts, onTop);

    {
        RedrawPause pause(combo);
        for (size_t i = plan.removed.size(); i-- > 0;) {
            if (SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(plan.removed[i]), 0) == CB_ERR) {
                Report(kCmbDeleteFailed);
                return -1;
            }
        }
        LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
        for (size_t i = 0; i < plan.incoming.size(); ++i) {
            WPARAM where = onTop ? static_cast<WPARAM>(i) : static_cast<WPARAM>(-1);
            if (SendMessageA(combo, CB_INSERTSTRING, where, reinterpret_cast<LPARAM>(plan.incoming[i])) < 0) {
                Report(kCmbAddFailed);
                return -1;
            }
        }
        WPARAM selected = onTop ? 0 : static_cast<WPARAM>(count + static_cast<LRESULT>(plan.incoming.size()) - 1);
        if (SendMessageA(combo, CB_SETCURSEL, selected, 0) == CB_ERR) {
            Report(kCmbSelectFailed);
            return -1;
        }
    }
    if (!ApplyItemsHeight()) return -1;
    return static_cast<int>(texts.size());
}
