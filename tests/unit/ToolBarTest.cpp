// The toolbar toolkit in real windows: the clip bar's buttons, their states and their tips.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "support/Pump.h"
#include "clipbar/ToolBar.h"
#include "clipbar/ToolTip.h"
#include "res/resource.h"

namespace {

const char kParentClass[] = "VexaroToolBarTestParent";

HWND MakeParent()
{
    static ATOM registered = 0;
    if (registered == 0) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kParentClass;
        registered = RegisterClassA(&wc);
    }
    return CreateWindowExA(0, kParentClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 640, 80, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// What the tooltip window was created with, seen by a CBT hook: Wine's tooltip does not keep its
// window name, so FindWindow cannot tell it afterwards.
struct TipCreation {
    int count = 0;
    std::string name;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
};
TipCreation* watchedCreation = nullptr;

LRESULT CALLBACK WatchTipCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && watchedCreation != nullptr) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(cs->lpszClass) && lstrcmpiA(cs->lpszClass, "tooltips_class32") == 0) {
            ++watchedCreation->count;
            watchedCreation->name = cs->lpszName != nullptr ? cs->lpszName : "";
            watchedCreation->style = static_cast<DWORD>(cs->style);
            watchedCreation->exStyle = cs->dwExStyle;
            watchedCreation->parent = cs->hwndParent;
            watchedCreation->instance = cs->hInstance;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT State(HWND toolbar, int id)
{
    return SendMessageA(toolbar, TB_GETSTATE, static_cast<WPARAM>(id), 0);
}

class ToolBarTest : public testing::Test {
protected:
    void SetUp() override
    {
        parent = MakeParent();
        ASSERT_NE(nullptr, parent);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        PumpPending();
    }
    HWND MakeClipBar()
    {
        return CreateToolBar(parent, IDC_TOOLBAR, IDB_TOOLBAR, clipBarButtons, 16, 15, 0);
    }
    HWND parent = nullptr;
};

}  // namespace

TEST_F(ToolBarTest, ClipBarShowsItsButtonsInGroups)
{
    HWND toolbar = MakeClipBar();
    ASSERT_NE(nullptr, toolbar);
    EXPECT_EQ(IDC_TOOLBAR, GetDlgCtrlID(toolbar));
    EXPECT_EQ(parent, GetParent(toolbar));
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE),
              GetWindowLongPtrA(toolbar, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_POPUP));
    // The strip came from the parent's module: eleven 16 x 15 images.
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(nullptr, images);
    EXPECT_EQ(11, ImageList_GetImageCount(images));
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(16, width);
    EXPECT_EQ(15, height);

    ASSERT_EQ(1, InsertSeparators(toolbar, clipBarSeparators));
    const int sep = 0;
    const int order[] = {sep, ID_SAVE_WORD, ID_SAVE_TO_CARET, ID_SAVE_FROM_CARET, ID_SAVE_SELECTION, ID_SAVE_LINE,
                         sep, ID_SHOW_HISTORY, ID_HOLD_LIST, ID_SHOW_PALETTE,
                         sep, ID_DELETE_CHOSEN, ID_DELETE_ALL,
                         sep, ID_EXIT_TOOL, sep};
    ASSERT_EQ(16, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    int image = 0;
    for (int i = 0; i < 16; ++i) {
        TBBUTTON button = {};
        ASSERT_TRUE(SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        if (order[i] == sep) {
            EXPECT_TRUE(button.fsStyle & TBSTYLE_SEP) << "position " << i;
            continue;
        }
        EXPECT_FALSE(button.fsStyle & TBSTYLE_SEP) << "position " << i;
        EXPECT_EQ(order[i], button.idCommand) << "position " << i;
        EXPECT_EQ(image++, button.iBitmap) << "position " << i;
        EXPECT_EQ(order[i] == ID_SAVE_WORD ? TBSTATE_HIDDEN : TBSTATE_ENABLED, button.fsState) << "position " << i;
    }
    EXPECT_EQ(0, InsertSeparators(nullptr, clipBarSeparators));
}

TEST_F(ToolBarTest, ToggleButtonCheckFlipsCheckedAndEnabled)
{
    HWND toolbar = MakeClipBar();
    ASSERT_NE(nullptr, toolbar);
    EXPECT_EQ(1, ToggleButtonCheck(toolbar, ID_HOLD_LIST));
    EXPECT_EQ(5, State(toolbar, ID_HOLD_LIST));
    EXPECT_EQ(0, ToggleButtonCheck(toolbar, ID_HOLD_LIST));
    EXPECT_EQ(4, State(toolbar, ID_HOLD_LIST));
    // The new state replaces every bit: the hidden button comes out plainly checked.
    EXPECT_EQ(1, ToggleButtonCheck(toolbar, ID_SAVE_WORD));
    EXPECT_EQ(5, State(toolbar, ID_SAVE_WORD));

    EXPECT_EQ(-1, ToggleButtonCheck(nullptr, ID_HOLD_LIST));
    EXPECT_EQ(-1, ToggleButtonCheck(toolbar, 0));
    EXPECT_EQ(0, ToggleButtonCheck(toolbar, 12345));

    EXPECT_EQ(1, SetButtonChecked(toolbar, ID_SHOW_HISTORY, 1));
    EXPECT_EQ(5, State(toolbar, ID_SHOW_HISTORY));
    EXPECT_EQ(1, SetButtonChecked(toolbar, ID_SHOW_HISTORY, 0));
    EXPECT_EQ(4, State(toolbar, ID_SHOW_HISTORY));
    EXPECT_EQ(0, SetButtonChecked(toolbar, 12345, 1));
}

TEST_F(ToolBarTest, SetButtonEnabledKeepsTheCheckedBit)
{
    HWND toolbar = MakeClipBar();
    ASSERT_NE(nullptr, toolbar);
    ASSERT_EQ(1, ToggleButtonCheck(toolbar, ID_SHOW_HISTORY));
    EXPECT_NE(0, SetButtonEnabled(toolbar, ID_SHOW_HISTORY, 0));
    EXPECT_EQ(TBSTATE_CHECKED | TBSTATE_INDETERMINATE, State(toolbar, ID_SHOW_HISTORY));
    EXPECT_NE(0, SetButtonEnabled(toolbar, ID_SHOW_HISTORY, 1));
    EXPECT_EQ(TBSTATE_CHECKED | TBSTATE_ENABLED, State(toolbar, ID_SHOW_HISTORY));

    EXPECT_NE(0, SetButtonEnabled(toolbar, ID_DELETE_ALL, 0));
    EXPECT_EQ(TBSTATE_INDETERMINATE, State(toolbar, ID_DELETE_ALL));
    EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONENABLED, ID_DELETE_ALL, 0));
    EXPECT_NE(0, SetButtonEnabled(toolbar, ID_DELETE_ALL, 1));
    EXPECT_EQ(TBSTATE_ENABLED, State(toolbar, ID_DELETE_ALL));

    EXPECT_EQ(0, SetButtonEnabled(toolbar, 12345, 1));
    EXPECT_EQ(0, SetButtonEnabled(nullptr, ID_DELETE_ALL, 1));

    const int plain[] = {ID_SAVE_LINE, ID_DELETE_ALL, 12345};
    EXPECT_EQ(2, SetPlainButtonsEnabled(toolbar, plain, 3, 0));
    EXPECT_EQ(TBSTATE_INDETERMINATE, State(toolbar, ID_SAVE_LINE));
    EXPECT_EQ(2, SetPlainButtonsEnabled(toolbar, plain, 2, 1));
    EXPECT_EQ(TBSTATE_ENABLED, State(toolbar, ID_DELETE_ALL));
    EXPECT_EQ(0, SetPlainButtonsEnabled(nullptr, plain, 2, 1));
}

TEST_F(ToolBarTest, SeparatorListWithoutEndMarkStopsAfterThirty)
{
    HWND toolbar = MakeClipBar();
    ASSERT_NE(nullptr, toolbar);
    int positions[31] = {};
    positions[30] = -1;  // out of reach: only thirty entries are read
    EXPECT_EQ(0, InsertSeparators(toolbar, positions));
    EXPECT_EQ(11 + 30, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
}

TEST_F(ToolBarTest, TableLengthAndDefaults)
{
    std::vector<ButtonDef> table(51, ButtonDef{ID_SAVE_LINE, "", TBSTATE_ENABLED, TBSTYLE_BUTTON});
    table[50].id = -1;
    EXPECT_EQ(nullptr, CreateToolBar(parent, 1, IDB_TOOLBAR, table.data(), 16, 15, 0));
    table[49].id = -1;
    HWND longest = CreateToolBar(parent, 1, IDB_TOOLBAR, table.data(), 16, 15, 0);
    ASSERT_NE(nullptr, longest);
    EXPECT_EQ(49, SendMessageA(longest, TB_BUTTONCOUNT, 0, 0));

    HWND defaults = CreateToolBar(parent, 2, IDB_TOOLBAR, clipBarButtons, 0, 0, 0);
    ASSERT_NE(nullptr, defaults);
    int width = 0, height = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(defaults, TB_GETIMAGELIST, 0, 0)), &width, &height);
    EXPECT_EQ(16, width);
    EXPECT_EQ(15, height);
    EXPECT_TRUE(GetWindowLongPtrA(defaults, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(ToolBarTest, TipsComeFromTheStringTable)
{
    TipCreation creation;
    watchedCreation = &creation;
    HHOOK hook = SetWindowsHookExA(WH_CBT, WatchTipCreation, nullptr, GetCurrentThreadId());
    HWND toolbar = MakeClipBar();
    UnhookWindowsHookEx(hook);
    watchedCreation = nullptr;
    ASSERT_NE(nullptr, toolbar);
    EXPECT_EQ(1, creation.count);
    EXPECT_EQ("VexaToolTip", creation.name);
    EXPECT_EQ(static_cast<DWORD>(TTS_ALWAYSTIP), creation.style);
    EXPECT_EQ(0u, creation.exStyle);
    EXPECT_EQ(parent, creation.parent);
    EXPECT_EQ(GetModuleHandleA(nullptr), creation.instance);

    CToolTip* tips = ClipBarToolTip();
    ASSERT_NE(nullptr, tips);
    HWND tip = tips->GetTipWindow();
    ASSERT_NE(nullptr, tip);

    char name[64] = "";
    GetClassNameA(tip, name, sizeof name);
    EXPECT_STREQ("tooltips_class32", name);
    EXPECT_EQ(parent, GetWindow(tip, GW_OWNER));
    EXPECT_TRUE(GetWindowLongPtrA(tip, GWL_STYLE) & TTS_ALWAYSTIP);
    EXPECT_EQ(tip, reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0)));
    EXPECT_EQ(1000, SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    EXPECT_EQ(1000, SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    EXPECT_EQ(10000, SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0));
    EXPECT_EQ(200, SendMessageA(tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0));
    EXPECT_EQ(0, SendMessageA(tip, TTM_GETTIPTEXTCOLOR, 0, 0));
    EXPECT_EQ(0x00D0FFFF, SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0));

    ASSERT_EQ(11, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    HMODULE module = GetModuleHandleA(nullptr);
    for (int row = 0; row < 11; ++row) {
        int id = clipBarButtons[row].id;
        char text[512] = "";
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = toolbar;
        tool.uId = static_cast<UINT_PTR>(id);
        tool.lpszText = text;
        ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool))) << "button " << id;
        EXPECT_EQ(module, tool.hinst) << "button " << id;
        EXPECT_EQ(MAKEINTRESOURCEA(id), tool.lpszText) << "button " << id;
        EXPECT_TRUE(tool.uFlags & TTF_SUBCLASS) << "button " << id;

        char expected[512] = "";
        ASSERT_GT(LoadStringA(module, static_cast<UINT>(id), expected, sizeof expected), 0) << "button " << id;
        tool.lpszText = text;
        SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(expected, text) << "button " << id;
    }
}

TEST_F(ToolBarTest, TipsCanComeFromTheTable)
{
    HWND toolbar = MakeClipBar();
    ASSERT_NE(nullptr, toolbar);
    ButtonDef table[] = {{ID_SAVE_TO_CARET, "first", TBSTATE_ENABLED, TBSTYLE_BUTTON},
                         {ID_SAVE_FROM_CARET, "second", TBSTATE_ENABLED, TBSTYLE_BUTTON},
                         {-1, "", 0, 0}};
    CToolTip tips;
    EXPECT_EQ(0, tips.AddTools(toolbar, table));  // no tooltip window yet
    EXPECT_FALSE(tips.Create(nullptr, nullptr));
    ASSERT_TRUE(tips.Create(parent, nullptr));
    ASSERT_EQ(1, tips.AddTools(toolbar, table));
    HWND tip = tips.GetTipWindow();
    ASSERT_EQ(2, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    char text[64] = "";
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = toolbar;
    tool.uId = ID_SAVE_FROM_CARET;
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ("second", text);

    tips.Destroy();
    EXPECT_EQ(nullptr, tips.GetTipWindow());
    EXPECT_FALSE(IsWindow(tip));
    // The object itself goes at unload, inside DllMain, where no window may be touched.
    HWND left = nullptr;
    {
        CToolTip gone;
        ASSERT_TRUE(gone.Create(parent, nullptr));
        left = gone.GetTipWindow();
    }
    EXPECT_TRUE(IsWindow(left));
    DestroyWindow(left);
}

TEST_F(ToolBarTest, LaterToolbarsReuseTheOneToolTip)
{
    ASSERT_NE(nullptr, MakeClipBar());
    CToolTip* first = ClipBarToolTip();
    ASSERT_NE(nullptr, first);
    HWND firstTip = first->GetTipWindow();
    ASSERT_NE(nullptr, firstTip);

    HWND otherParent = MakeParent();
    ASSERT_NE(nullptr, otherParent);
    HWND second = CreateToolBar(otherParent, IDC_TOOLBAR, IDB_TOOLBAR, clipBarButtons, 16, 15, 0);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(first, ClipBarToolTip());
    HWND secondTip = first->GetTipWindow();
    EXPECT_NE(firstTip, secondTip);
    EXPECT_FALSE(IsWindow(firstTip));
    EXPECT_EQ(otherParent, GetWindow(secondTip, GW_OWNER));

    // The tooltip went with its owner; the next toolbar must still get a working one.
    DestroyWindow(otherParent);
    PumpPending();
    EXPECT_FALSE(IsWindow(secondTip));
    HWND third = MakeClipBar();
    ASSERT_NE(nullptr, third);
    HWND thirdTip = ClipBarToolTip()->GetTipWindow();
    EXPECT_TRUE(IsWindow(thirdTip));
    EXPECT_EQ(11, SendMessageA(thirdTip, TTM_GETTOOLCOUNT, 0, 0));
}
