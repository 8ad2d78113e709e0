// The clip list: a wrapper of one combo box child of `owner`, looked up by id on every call.
#pragma once
#include "common/AppVal.h"

class CCmb : public CAppVal {
public:
    CCmb();

    void SetControlId(int id);
    void SetShowMessages(int flag);
    void SetListHeight(int height);

    // Results: -1 failure (or a declined deletion), -10 empty list, else as documented.
    HWND Create(const void* initialItems, int x, int y, int width, DWORD style, HINSTANCE module);
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

    HWND CreateWorker(int id, const void* initialItems, int x, int y, int width, DWORD style, HINSTANCE module);
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

    HWND comboWnd;
    int controlId;
    HINSTANCE instance;
    BYTE showMessages;
    int listHeight;
};
