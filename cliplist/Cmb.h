// The clip list: a wrapper of one combo box child of `owner`, looked up by id on every call.
#pragma once
#include "common/AppVal.h"
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
    int DeleteSelected();
    int DeleteItem(int index);
    int DeleteAll();
    int SetItemHeight(int height);
    HWND PlaceDropList();
    int ShowDropDown(BYTE show);
    int ApplyListHeight(int height);
    int Close();

    int GetControlId() const { return controlId; }
    int GetListHeight() const { return listHeight; }
    BYTE GetShowMessages() const { return showMessages; }

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
    void AddInitialItems(HWND combo, const CmbInitItem* table);

    HWND comboWnd;
    int controlId;
    HINSTANCE instance;
    BYTE showMessages;
    int listHeight;
};
