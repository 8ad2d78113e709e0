#include "cliplist/Cmb.h"
#include "cliplist/CmbTexts.h"
#include "capture/TextBuffer.h"
#include "common/Sjis.h"
#include <commctrl.h>
#include <climits>
#include <cstring>

static const DWORD kDefaultStyle = 0x56210042;   // child, visible, clipped, scroll, tab stop, drop-down
static const int kCreateHeight = 200;
static const int kDefaultListHeight = 200;
static const int kMinItemHeight = 10;
static const int kFallbackItemHeight = 15;
static const DWORD kDropListSearchMs = 1500;
static const int kEmptyList = -10;

static const char kNoId[] = "コンボボックスのIDが設定されていません！！";
static const char kNoOwner[] = "オーナウインドウのhWndが設定されていません！！";
static const char kNoWindow[] = "コンボボックスのhWnd取得に失敗しました！！";
static const char kAskDeleteOne[] = "選択項目を削除してもよろしいですか？";
static const char kAskDeleteAll[] = "全ての項目を削除してもよろしいですか？";

static LRESULT Send(HWND combo, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(combo, message, wParam, lParam);
}

CCmb::CCmb() : comboWnd(nullptr), controlId(-1), instance(nullptr), showMessages(0), listHeight(0)
{
}

void CCmb::SetControlId(int id)
{
    controlId = id;
}

void CCmb::SetShowMessages(int flag)
{
    showMessages = static_cast<BYTE>(flag & 0xFF);
}

void CCmb::SetListHeight(int height)
{
    listHeight = height == 0 ? kDefaultListHeight : height;
}

void CCmb::Report(const char* text)
{
    if (showMessages) ShowMessage(text, "", "x", "o");
}

// A silent object deletes without asking, as if the user had said yes.
int CCmb::Ask(const char* question)
{
    if (!showMessages) return IDYES;
    return ShowMessage(question, "確認", "?", "yn");
}

bool CCmb::CheckId()
{
    if (controlId != -1) return true;
    Report(kNoId);
    return false;
}

bool CCmb::CheckOwner()
{
    if (owner != nullptr) return true;
    Report(kNoOwner);
    return false;
}

HWND CCmb::GetComboWindow(int id)
{
    // The list this wrapper made, while it is still the owner's child with that id: asking the
    // owner (GetDlgItem) is a wineserver round trip under Wine, and nearly every call needs the
    // list; these three questions are answered in the process.
    if (comboWnd != nullptr && IsWindow(comboWnd) && GetParent(comboWnd) == owner && GetDlgCtrlID(comboWnd) == id)
        return comboWnd;
    HWND combo = GetDlgItem(owner, id);
    if (combo == nullptr) Report(kNoWindow);
    return combo;
}

// ---- Create ----

HWND CCmb::Create(const CmbInitItem* initialItems, int x, int y, int width, DWORD style, HINSTANCE module)
{
    if (!CheckId() || !CheckOwner()) return nullptr;
    applied = AppliedHeight();
    comboWnd = CreateWorker(controlId, initialItems, x, y, width, style, module);
    if (comboWnd == nullptr) return nullptr;
    int count = GetCount();
    if (!ApplyListHeight(count <= 0 ? 0 : kDefaultListHeight)) return nullptr;
    return comboWnd;
}

HWND CCmb::CreateWorker(int id, const CmbInitItem* initialItems, int x, int y, int width, DWORD style, HINSTANCE module)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, 0xFF};
    InitCommonControlsEx(&classes);
    instance = module != nullptr ? module : reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    HWND combo = CreateWindowExA(0, "combobox", nullptr, style != 0 ? style : kDefaultStyle, x, y, width,
                                 kCreateHeight, owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 instance, nullptr);
    comboWnd = combo;
    if (combo == nullptr) return nullptr;
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    if (font == nullptr) return nullptr;
    Send(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (initialItems != nullptr) AddInitialItems(combo, initialItems);
    return combo;
}

void CCmb::AddInitialItems(HWND combo, const CmbInitItem* table)
{
    if (table[0].text != nullptr) {
        for (const CmbInitItem* record = table; record->text != CmbTableEnd(); ++record) {
            if (record->text != nullptr) Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record->text));
        }
        return;
    }
    for (const CmbInitItem* record = table; record->inlineText[0] != '\0'; ++record) {
        // An inline text that fills its field without a terminator is cut on a character
        // boundary instead of being read past the record.
        char text[sizeof record->inlineText];
        size_t length = strnlen(record->inlineText, sizeof record->inlineText);
        length = SjisCutLength(record->inlineText, length, sizeof text - 1);
        memcpy(text, record->inlineText, length);
        text[length] = '\0';
        Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

// ---- Counting and reading ----

int CCmb::GetCount()
{
    if (!CheckId()) return -1;
    return GetCountWorker(controlId);
}

int CCmb::GetCountWorker(int id)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return -1;
    LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    if (count == CB_ERR || count == CB_ERRSPACE) return -1;
    return static_cast<int>(count);
}

int CCmb::GetItemText(char** slot, int index)
{
    if (!CheckId()) return -1;
    return GetItemTextWorker(controlId, slot, index);
}

int CCmb::GetItemTextWorker(int id, char** slot, int index)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr || slot == nullptr) return -1;
    LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    if (count == 0) return kEmptyList;
    LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        Report(kCmbNoLength);
        return -1;
    }
    if (length < 0 || length > INT_MAX - 5) return -1;
    if (!AllocTextBuffer(slot, static_cast<int>(length))) return -1;
    LRESULT copied = Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(*slot));
    if (copied == CB_ERR) {
        Report(kCmbNoText);
        FreeTextBuffer(slot);
        return -1;
    }
    return static_cast<int>(copied);
}

int CCmb::GetSelectedText(char** slot)
{
    if (!CheckId()) return -1;
    return GetSelectedTextWorker(controlId, slot);
}

int CCmb::GetSelectedTextWorker(int id, char** slot)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return -1;
    if (Send(combo, CB_GETCOUNT, 0, 0) == 0) return kEmptyList;
    LRESULT selected = Send(combo, CB_GETCURSEL, 0, 0);
    if (selected < 0) return -1;
    if (GetItemTextWorker(id, slot, static_cast<int>(selected)) < 0) return -1;
    return static_cast<int>(selected);
}

// ---- Adding ----

int CCmb::AddItem(const char* text, UINT message, int position, BYTE keepDuplicates)
{
    if (!CheckId()) return -1;
    int index = AddItemWorker(controlId, text, message, position, keepDuplicates);
    if (index == -1) return -1;
    if (!ApplyItemsHeight()) return -1;
    return index;
}

// The height of a list that holds items.
bool CCmb::ApplyItemsHeight()
{
    if (listHeight == 0) listHeight = kDefaultListHeight;
    return ApplyListHeight(listHeight) != 0;
}

int CCmb::AddItemWorker(int id, const char* text, UINT message, int position, BYTE keepDuplicates)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return -1;
    if (text == nullptr || text[0] == '\0') return -1;

    if (keepDuplicates != 1) {
        // The exact-match search ignores letter case, so "abc" also removes "ABC": the new
        // spelling replaces the old one.
        for (;;) {
            LRESULT found = Send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
            if (found < 0) break;
            if (Send(combo, CB_DELETESTRING, static_cast<WPARAM>(found), 0) == CB_ERR) {
                Report(kCmbDeleteFailed);
                return -1;
            }
        }
    }

    if (message != CB_ADDSTRING) message = CB_INSERTSTRING;
    WPARAM where = 0;
    if (message == CB_INSERTSTRING && position == -1) where = static_cast<WPARAM>(-1);
    LRESULT index = Send(combo, message, where, reinterpret_cast<LPARAM>(text));
    if (index < 0) {   // CB_ERR, or CB_ERRSPACE when the control is out of memory
        Report(kCmbAddFailed);
        return -1;
    }
    if (Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) == CB_ERR) {
        Report(kCmbSelectFailed);
        return -1;
    }
    return static_cast<int>(index);
}

// ---- Deleting ----

int CCmb::DeleteSelected()
{
    if (!CheckId()) return -1;
    return AfterDeletion(DeleteSelectedWorker(controlId));
}

int CCmb::DeleteSelectedWorker(int id)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return -1;
    if (Send(combo, CB_GETCOUNT, 0, 0) == 0) return kEmptyList;
    LRESULT selected = Send(combo, CB_GETCURSEL, 0, 0);
    if (selected < 0) return -1;
    return DeleteItemWorker(id, static_cast<int>(selected));
}

int CCmb::DeleteItem(int index)
{
    if (!CheckId()) return -1;
    return AfterDeletion(DeleteItemWorker(controlId, index));
}

int CCmb::DeleteItemWorker(int id, int index)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return -1;
    if (index < 0) index = 0;
    LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    if (count == 0) return kEmptyList;
    // Never ask about an item that is not there.
    if (count < 0 || index >= count) return -1;
    if (Ask(kAskDeleteOne) == IDNO) return -1;
    LRESULT left = Send(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    if (left < 0) return -1;
    // The closed control would otherwise keep showing the deleted text.
    if (left == 0) RedrawWorker(id);
    return static_cast<int>(left);
}

int CCmb::AfterDeletion(int result)
{
    if (result == -1) return -1;
    if (listHeight == 0) listHeight = kDefaultListHeight;
    bool empty = result == kEmptyList || GetCount() == 0;
    if (!ApplyListHeight(empty ? 0 : listHeight)) return -1;
    return result;
}

int CCmb::DeleteAll()
{
    if (!CheckId()) return -1;
    int result = DeleteAllWorker(controlId);
    if (result == -1) return -1;
    if (!ApplyListHeight(0)) return -1;
    return result;
}

int CCmb::DeleteAllWorker(int id)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return -1;
    LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    if (count == 0) return kEmptyList;
    if (count == CB_ERR) return -1;
    if (Ask(kAskDeleteAll) == IDNO) return -1;
    Send(combo, CB_RESETCONTENT, 0, 0);
    return 1;
}

int CCmb::RedrawWorker(int id)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return 0;
    if (!InvalidateRect(combo, nullptr, TRUE)) return 0;
    return UpdateWindow(combo) ? 1 : 0;
}

// ---- Heights ----

int CCmb::SetItemHeight(int height)
{
    if (!CheckId()) return -1;
    return SetItemHeightWorker(controlId, height);
}

int CCmb::SetItemHeightWorker(int id, int height)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return 0;
    if (height < kMinItemHeight) height = kFallbackItemHeight;
    if (Send(combo, CB_SETITEMHEIGHT, 0, height) != CB_ERR) return 1;
    // Some systems (Wine) take the list items' height only for owner-drawn combo boxes; the
    // list window itself still takes it.
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(combo, &info) || info.hwndList == nullptr) return 0;
    return Send(info.hwndList, LB_SETITEMHEIGHT, 0, height) == LB_ERR ? 0 : 1;
}

int CCmb::ApplyListHeight(int height)
{
    if (!CheckId()) return 0;
    return ApplyListHeightWorker(controlId, height);
}

// The height given to a drop-down combo box is that of the control with its list dropped; the
// closed control keeps its own height. At least twice the closed height, so that an empty list
// still drops down by about one row.
int CCmb::ApplyListHeightWorker(int id, int height)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return 0;
    RECT rect;
    if (!GetWindowRect(combo, &rect)) return 0;
    int closed = rect.bottom - rect.top;
    int total = height > 2 * closed ? height : 2 * closed;
    // The same size again changes nothing, but the control lays itself out anew each time (well
    // over a millisecond under Wine): every add and delete asks for it.
    if (SameHeightAsApplied(combo, rect, total)) return 1;
    if (!SetWindowPos(combo, nullptr, 0, 0, rect.right - rect.left, total, SWP_NOMOVE)) {
        applied = AppliedHeight();
        return 0;
    }
    RememberAppliedHeight(combo, total);
    return 1;
}

static RECT DroppedRect(HWND combo)
{
    RECT dropped = {0, 0, 0, 0};
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    OffsetRect(&dropped, -dropped.left, -dropped.top);
    return dropped;
}

// The control still has the size and dropped size that our last resize gave it, for this height.
// A dropped-down list always gets the real resize, with what the control does then (Wine's rolls
// the list up).
bool CCmb::SameHeightAsApplied(HWND combo, const RECT& rect, int total)
{
    if (SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0) return false;
    if (combo != applied.combo || total != applied.total || rect.right - rect.left != applied.width ||
        rect.bottom - rect.top != applied.closed)
        return false;
    RECT dropped = DroppedRect(combo);
    return EqualRect(&dropped, &applied.dropped) != 0;
}

void CCmb::RememberAppliedHeight(HWND combo, int total)
{
    RECT rect;
    if (!GetWindowRect(combo, &rect)) {
        applied = AppliedHeight();
        return;
    }
    applied.combo = combo;
    applied.total = total;
    applied.width = rect.right - rect.left;
    applied.closed = rect.bottom - rect.top;
    applied.dropped = DroppedRect(combo);
}

// ---- Drop-down list ----

int CCmb::ShowDropDown(BYTE show)
{
    if (!CheckId()) return 0;
    return ShowDropDownWorker(controlId, show);
}

int CCmb::ShowDropDownWorker(int id, BYTE show)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return 0;
    Send(combo, CB_SHOWDROPDOWN, show, 0);
    return 1;
}

HWND CCmb::PlaceDropList()
{
    if (!CheckId()) return nullptr;
    return PlaceDropListWorker(controlId);
}

HWND FindOwnComboLBox(DWORD startedTick)
{
    DWORD self = GetCurrentProcessId();
    HWND desktop = GetDesktopWindow();
    HWND list = FindWindowExA(desktop, nullptr, "ComboLBox", nullptr);
    while (list != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(list, &process);
        if (process == self) return list;
        // Never settle for another process's list: moving it would move someone else's window.
        if (GetTickCount() - startedTick > kDropListSearchMs) return nullptr;
        list = FindWindowExA(desktop, list, "ComboLBox", nullptr);
    }
    return nullptr;
}

// The control itself knows its list window; the search by class is kept for a system that
// does not tell.
static HWND FindDropList(HWND combo, DWORD started)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(combo, &info) && info.hwndList != nullptr && IsWindow(info.hwndList)) return info.hwndList;
    return FindOwnComboLBox(started);
}

HWND CCmb::DropList()
{
    if (!CheckId()) return nullptr;
    HWND combo = GetComboWindow(controlId);
    return combo != nullptr ? FindDropList(combo, GetTickCount()) : nullptr;
}

HWND CCmb::PlaceDropListWorker(int id)
{
    DWORD started = GetTickCount();
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return nullptr;
    HWND list = FindDropList(combo, started);
    if (list == nullptr) return nullptr;
    RECT rect;
    if (!GetWindowRect(combo, &rect)) return nullptr;
    SetWindowPos(list, nullptr, rect.left, rect.bottom, 0, 0, SWP_NOSIZE);
    return list;
}

// ---- Closing ----

int CCmb::Close()
{
    if (!CheckId()) return -1;
    applied = AppliedHeight();
    return CloseWorker(controlId);
}

int CCmb::CloseWorker(int id)
{
    HWND combo = GetComboWindow(id);
    if (combo == nullptr) return 0;
    return PostMessageA(combo, WM_CLOSE, 0, 0) ? 1 : 0;
}
