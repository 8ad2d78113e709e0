#include "clipbar/ToolBar.h"
#include "clipbar/ToolTip.h"
#include "plugin/PluginState.h"
#include "res/resource.h"
#include <commctrl.h>

#if !defined(_WIN64)
static_assert(sizeof(TBBUTTON) == 20, "the platform's button record is 20 bytes");
#endif

// Every tip comes from the string table under the button's own id, so the text fields stay empty.
const ButtonDef clipBarButtons[12] = {
    {ID_SAVE_WORD, "", TBSTATE_HIDDEN, TBSTYLE_BUTTON},
    {ID_SAVE_TO_CARET, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {ID_SAVE_FROM_CARET, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {ID_SAVE_SELECTION, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {ID_SAVE_LINE, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {ID_SHOW_HISTORY, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {ID_HOLD_LIST, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {ID_SHOW_PALETTE, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {ID_DELETE_CHOSEN, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {ID_DELETE_ALL, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {ID_EXIT_TOOL, "", TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {-1, "", 0, 0},
};

// Groups: the capture buttons | history, hold, palette | the two deletes | exit.
const int clipBarSeparators[6] = {0, 5, 8, 10, 11, -1};

static const int kMaxTableRows = 50;
static const int kMaxSeparators = 30;
static const int kDefaultImageWidth = 16;
static const int kDefaultImageHeight = 15;
static const DWORD kDefaultStyle = WS_CHILD | WS_VISIBLE;
static const BYTE kCheckedState = TBSTATE_ENABLED | TBSTATE_CHECKED;
// A button is its picture plus this much (what the toolbar gives 16 x 15 pictures).
static const int kButtonMargin = 7;

// Built with the first toolbar and kept for every later one: it remembers the tooltip window of
// the previous band so the next one can replace it.
static CToolTip toolTip;

CToolTip* ClipBarToolTip()
{
    return plugin.toolTip;
}

// The table's rows as toolbar buttons, picture i for row i; 0 when the table has no end row.
static int TableButtons(const ButtonDef* table, TBBUTTON* buttons)
{
    int rows = 0;
    while (table[rows].id != -1) {
        if (++rows == kMaxTableRows) return 0;
    }
    for (int i = 0; i < rows; ++i) {
        buttons[i] = TBBUTTON();
        buttons[i].iBitmap = i;
        buttons[i].idCommand = table[i].id;
        buttons[i].fsState = table[i].state;
        buttons[i].fsStyle = table[i].style;
    }
    return rows;
}

// The tooltip object known and the control classes registered, before any toolbar is made.
static void PrepareToolBar()
{
    plugin.toolTip = &toolTip;
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
}

// A toolbar without tips still works, so their failures are not the caller's concern.
static void AddTips(HWND parent, HWND toolbar, const ButtonDef* table)
{
    toolTip.Create(parent, nullptr);
    toolTip.AddTools(toolbar, table);
}

HWND CreateToolBar(HWND parent, int controlId, int bitmapId, const ButtonDef* table,
                   int imageWidth, int imageHeight, DWORD style)
{
    PrepareToolBar();

    if (imageWidth == 0) imageWidth = kDefaultImageWidth;
    if (imageHeight == 0) imageHeight = kDefaultImageHeight;
    if (style == 0) style = kDefaultStyle;
    if (table == nullptr) return nullptr;

    TBBUTTON buttons[kMaxTableRows];
    int rows = TableButtons(table, buttons);
    if (rows == 0 && table[0].id != -1) return nullptr;

    HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    HWND toolbar = CreateToolbarEx(parent, style, static_cast<UINT>(controlId), rows, module,
                                   static_cast<UINT_PTR>(bitmapId), buttons, rows, 0, 0,
                                   imageWidth, imageHeight, sizeof(TBBUTTON));
    if (toolbar == nullptr) return nullptr;
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    AddTips(parent, toolbar, table);
    return toolbar;
}

HWND CreateImageListToolBar(HWND parent, int controlId, HIMAGELIST images, const ButtonDef* table,
                            int imageWidth, int imageHeight, DWORD style)
{
    PrepareToolBar();

    if (style == 0) style = kDefaultStyle;
    if (table == nullptr || images == nullptr) return nullptr;
    TBBUTTON buttons[kMaxTableRows];
    int rows = TableButtons(table, buttons);
    if (rows == 0) return nullptr;

    HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style | WS_CHILD, 0, 0, 100, 30, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), module, nullptr);
    if (toolbar == nullptr) return nullptr;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The picture size and the image list go in before any button: the control takes a picture
    // size only before its first pictures, and an image list only where it was never given a
    // bitmap (TB_ADDBITMAP, which CreateToolbarEx sends).
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageWidth, imageHeight));
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    if (!SendMessageA(toolbar, TB_ADDBUTTONSA, static_cast<WPARAM>(rows), reinterpret_cast<LPARAM>(buttons))) {
        DestroyWindow(toolbar);
        return nullptr;
    }
    // The button size after the buttons, as the control documents it.
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(imageWidth + kButtonMargin, imageHeight + kButtonMargin));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    AddTips(parent, toolbar, table);
    return toolbar;
}

int InsertSeparators(HWND toolbar, const int* positions)
{
    if (toolbar == nullptr || positions == nullptr) return 0;
    TBBUTTON separator = {};
    separator.fsState = TBSTATE_ENABLED;
    separator.fsStyle = TBSTYLE_SEP;
    for (int i = 0; i < kMaxSeparators; ++i) {
        if (positions[i] == -1) {
            SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
            return 1;
        }
        // Positions count table rows; every separator already in shifts the later ones by one.
        SendMessageA(toolbar, TB_INSERTBUTTONA, static_cast<WPARAM>(positions[i] + i),
                     reinterpret_cast<LPARAM>(&separator));
    }
    return 0;
}

int ToggleButtonCheck(HWND toolbar, int id)
{
    if (toolbar == nullptr || id == 0) return -1;
    LRESULT state = SendMessageA(toolbar, TB_GETSTATE, static_cast<WPARAM>(id), 0);
    if (state == 0) return 0;
    // The new state replaces every bit: a toggled button is plainly enabled, checked or not.
    if (state == kCheckedState) {
        return SendMessageA(toolbar, TB_SETSTATE, static_cast<WPARAM>(id), MAKELONG(TBSTATE_ENABLED, 0)) ? 0 : 1;
    }
    return SendMessageA(toolbar, TB_SETSTATE, static_cast<WPARAM>(id), MAKELONG(kCheckedState, 0)) ? 1 : 0;
}

int SetButtonChecked(HWND toolbar, int id, BYTE checked)
{
    if (toolbar == nullptr) return 0;
    LPARAM state = MAKELONG(checked ? kCheckedState : TBSTATE_ENABLED, 0);
    return SendMessageA(toolbar, TB_SETSTATE, static_cast<WPARAM>(id), state) ? 1 : 0;
}

LRESULT SetButtonEnabled(HWND toolbar, int id, BYTE enable)
{
    if (toolbar == nullptr) return 0;
    LRESULT answer = SendMessageA(toolbar, TB_GETSTATE, static_cast<WPARAM>(id), 0);
    if (answer == 0 || answer == -1) return 0;
    BYTE state = static_cast<BYTE>(answer);
    // Disabled buttons are also marked indeterminate; the checked bit is left alone.
    if (enable) {
        state = static_cast<BYTE>((state | TBSTATE_ENABLED) & ~TBSTATE_INDETERMINATE);
    } else {
        state = static_cast<BYTE>((state | TBSTATE_INDETERMINATE) & ~TBSTATE_ENABLED);
    }
    return SendMessageA(toolbar, TB_SETSTATE, static_cast<WPARAM>(id), MAKELONG(state, 0));
}

int SetPlainButtonsEnabled(HWND toolbar, const int* ids, int count, BYTE enable)
{
    if (toolbar == nullptr || ids == nullptr) return 0;
    // Their whole new state is known, so it is set without asking for the old one.
    LPARAM state = MAKELONG(enable ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE, 0);
    int changed = 0;
    for (int i = 0; i < count; ++i) {
        if (SendMessageA(toolbar, TB_SETSTATE, static_cast<WPARAM>(ids[i]), state)) ++changed;
    }
    return changed;
}
