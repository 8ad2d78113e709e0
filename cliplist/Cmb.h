// The clip list: a wrapper of one combo box child of `owner`, looked up by id on every call (the
// one it made, while that is still the child with the id, without asking the owner).
#pragma once
#include "common/AppVal.h"
#include "cliplist/DimPack.h"
#include <cstddef>
#include <cstdint>

// One record of the optional initial-items table of CCmb::Create. When the first record's `text`
// is not null, the table lists pointers and ends with a record whose `text` is CmbTableEnd();
// otherwise it lists inline texts and ends with a record whose `inlineText` is "".
struct CmbInitItem {
    const char* text;
    char inlineText[260];
};
static_assert(offsetof(CmbInitItem, inlineText) == sizeof(const char*), "the inline text follows the pointer");
#if defined(__i386__)
static_assert(sizeof(CmbInitItem) == 264, "a record is a 32-bit pointer and 260 bytes");
#endif

// The pointer with all bits set that ends a table of text pointers.
inline const char* CmbTableEnd() { return reinterpret_cast<const char*>(~static_cast<uintptr_t>(0)); }

// The first top-level "ComboLBox" window of this process; null when there is none, or when the
// walk over other processes' list windows runs past 1500 ms after `startedTick`.
HWND FindOwnComboLBox(DWORD startedTick);

class CCmb : public CAppVal {
public:
    CCmb();

    void SetControlId(int id);
    void SetShowMessages(int flag);
    void SetListHeight(int height);

    // Results: -1 failure (or a declined deletion), -10 empty list, else as documented.
    HWND Create(const CmbInitItem* initialItems, int x, int y, int width, DWORD style, HINSTANCE module);
    int GetCount();
    int GetItemText(char** slot, int index);
    int GetSelectedText(char** slot);
    int AddItem(const char* text, UINT message, int position, BYTE keepDuplicates);
    // The list that AddItem(text, CB_INSERTSTRING, 0 or -1, 0) for each of the `count` texts in
    // turn gives (equal items replaced, the last text selected, on top or at the end), with the
    // list redrawn and resized once instead of after every text. Results: the number of texts
    // added, or -1 when one could not be added (as the loop, it stops there).
    int AddItemsOnTop(const char* const* texts, int count);
    int AddItemsAtEnd(const char* const* texts, int count);
    // AddItemsAtEnd for texts that this list held as different items (a copy of its items), into
    // an empty list: nothing to search for. Otherwise it is AddItemsAtEnd.
    int AppendDistinctItems(const char* const* texts, int count);
    // DeleteAll followed by AddItemsOnTop or by AppendDistinctItems, the same list with one resize
    // instead of two (the empty list's height is not set when items follow at once).
    int ReplaceWithItemsOnTop(const char* const* texts, int count);
    int ReplaceWithDistinctItems(const char* const* texts, int count);
    // Appends the text of every item, first to last, to `into`, as GetItemText for each index
    // would give it (items without text left out). Result: the number of items, or -1 when the
    // list cannot be read or memory runs out (`into` may then hold some of the items).
    int ReadAllItems(CDimPack& into);
    // The index of the item equal to text (letter case ignored), or -1.
    int FindItem(const char* text);
    int DeleteSelected();
    int DeleteItem(int index);
    int DeleteAll();
    int SetItemHeight(int height);
    HWND PlaceDropList();
    // The drop-down list's window, left where it is (a list about to be hidden need not move).
    HWND DropList();
    int ShowDropDown(BYTE show);
    int ApplyListHeight(int height);
    int Close();

private:
    bool CheckId();
    bool CheckOwner();
    HWND GetComboWindow(int id);
    void Report(const char* text);
    int Ask(const char* question);

    HWND CreateWorker(int id, const CmbInitItem* initialItems, int x, int y, int width, DWORD style, HINSTANCE module);
    int GetCountWorker(int id);
    int GetItemTextWorker(int id, char** slot, int index);
    int GetSelectedTextWorker(int id, char** slot);
    int AddItemWorker(int id, const char* text, UINT message, int position, BYTE keepDuplicates);
    int DeleteSelectedWorker(int id);
    int DeleteItemWorker(int id, int index);
    int DeleteAllWorker(int id);
    int SetItemHeightWorker(int id, int height);
    HWND PlaceDropListWorker(int id);
    int ShowDropDownWorker(int id, BYTE show);
    int ApplyListHeightWorker(int id, int height);
    int CloseWorker(int id);
    int RedrawWorker(int id);
    int AfterDeletion(int result);
    bool ApplyItemsHeight();
    int AddItems(const char* const* texts, int count, bool onTop);
    int AddItemsOneByOne(const char* const* texts, int count, bool onTop);
    int ReplaceItems(const char* const* texts, int count, bool onTop);
    bool SameHeightAsApplied(HWND combo, const RECT& rect, int total);
    void RememberAppliedHeight(HWND combo, int total);
    void AddInitialItems(HWND combo, const CmbInitItem* table);

    HWND comboWnd;
    int controlId;
    HINSTANCE instance;
    BYTE showMessages;
    int listHeight;

    // What the last resize of ApplyListHeight left, so that an unchanged resize is not repeated.
    struct AppliedHeight {
        HWND combo = nullptr;
        int width = 0;
        int closed = 0;
        int total = 0;
        RECT dropped = {0, 0, 0, 0};
    } applied;
};
