// The clip list combo box wrapper, on a real combo box in a top-level test window.
#include <gmock/gmock.h>
#include "cliplist/Cmb.h"
#include "capture/TextBuffer.h"
#include "support/MessageBoxHook.h"
#include "support/Pump.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;
using Results = std::vector<int>;
using testing::AllOf;
using testing::Each;
using testing::Field;
int paints = 0;
WNDPROC comboProc = nullptr;
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    paints += message == WM_PAINT;
    return CallWindowProcA(comboProc, window, message, wParam, lParam);
}

// The clip list as the band sets it up, in one visible owner kept for all tests (Wine without a
// window manager waits two seconds whenever a visible top-level window is destroyed).
class Cmb : public ::testing::Test {
protected:
    void SetUp() override
    {
        static HWND shared = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 600, 500, nullptr, nullptr, nullptr, nullptr);
        owner = shared;
        cmb.SetOwner(owner);
        cmb.SetListHeight(400);
        cmb.SetShowMessages(1);
    }
    void TearDown() override { while (HWND child = GetWindow(owner, GW_CHILD)) DestroyWindow(child); }
    HWND Create(DWORD style = 0x56210143, const CmbInitItem* table = nullptr)
    {
        cmb.SetControlId(1001);
        return combo = cmb.Create(table, 10, 10, 200, style, nullptr);
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, const char* text = nullptr) { return SendMessageA(combo, message, wParam, reinterpret_cast<LPARAM>(text)); }
    Texts Items()
    {
        Texts items(Send(CB_GETCOUNT));
        for (size_t i = 0; i < items.size(); ++i) {
            items[i].resize(Send(CB_GETLBTEXTLEN, i));
            Send(CB_GETLBTEXT, i, &items[i][0]);
        }
        return items;
    }
    void Fill(Texts texts) { for (const auto& text : texts) Send(CB_INSERTSTRING, -1, text.c_str()); }
    int Closed() { RECT r; GetWindowRect(combo, &r); return r.bottom - r.top; }
    // Selection field plus list: Windows reports them together, Wine the list alone.
    int Dropped()
    {
        RECT r;
        SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
        bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
        return r.bottom - r.top + (wine ? Closed() : 0);
    }

    HWND owner = nullptr;
    HWND combo = nullptr;
    CCmb cmb;
    MessageBoxHook boxes{GetModuleHandleA(nullptr)};
};

} // namespace

TEST_F(Cmb, WithoutIdOwnerOrControlNothingIsTouched)
{
    EXPECT_EQ(nullptr, cmb.Create(nullptr, 0, 0, 100, 0, nullptr));   // no id yet
    char* slot = reinterpret_cast<char*>(this);
    EXPECT_EQ(Results(11, -1), (Results{cmb.GetCount(), cmb.GetItemText(&slot, 0), cmb.GetSelectedText(&slot),
        cmb.AddItem("a", CB_INSERTSTRING, 0, 0), cmb.DeleteSelected(), cmb.DeleteItem(0), cmb.DeleteAll(),
        cmb.SetItemHeight(30), cmb.Close(), cmb.ShowDropDown(1) - 1, cmb.ApplyListHeight(300) - 1}));
    EXPECT_EQ(nullptr, cmb.PlaceDropList());
    EXPECT_EQ(reinterpret_cast<char*>(this), slot);
    EXPECT_EQ(nullptr, GetWindow(owner, GW_CHILD));
    ASSERT_EQ(13u, boxes.Boxes().size());
    EXPECT_THAT(boxes.Boxes(), Each(AllOf(Field(&MessageBoxRecord::text, "コンボボックスのIDが設定されていません！！"),
        Field(&MessageBoxRecord::caption, "メッセージ"), Field(&MessageBoxRecord::style, static_cast<UINT>(MB_ICONHAND)),
        Field(&MessageBoxRecord::owner, owner))));
    boxes.Clear();
    cmb.SetControlId(1001);   // an id, but no such control in the owner
    EXPECT_EQ(-1, cmb.AddItem("a", CB_INSERTSTRING, 0, 0));
    cmb.SetOwner(nullptr);
    EXPECT_EQ(nullptr, cmb.Create(nullptr, 0, 0, 100, 0, nullptr));
    cmb.SetShowMessages(0);
    EXPECT_EQ(-1, cmb.GetCount());
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ("コンボボックスのhWnd取得に失敗しました！！", boxes.Boxes()[0].text);
    EXPECT_EQ("オーナウインドウのhWndが設定されていません！！", boxes.Boxes()[1].text);
}

TEST_F(Cmb, CreateAndAddItem)
{
    CmbInitItem pointers[3] = {{"b", ""}, {"a", ""}, {CmbTableEnd(), ""}};
    ASSERT_NE(nullptr, Create(0, pointers));
    EXPECT_EQ(combo, GetDlgItem(owner, 1001));
    EXPECT_EQ(0x56010042, GetWindowLongPtrA(combo, GWL_STYLE) & ~WS_VSCROLL);   // the list takes WS_VSCROLL
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
    EXPECT_EQ((Texts{"b", "a"}), Items());
    EXPECT_EQ(200, Dropped());
    DestroyWindow(combo);
    CmbInitItem inlineTexts[3] = {{nullptr, "b"}, {nullptr, "a"}, {nullptr, ""}};
    ASSERT_NE(nullptr, Create(0x56210143, inlineTexts));
    EXPECT_EQ((Texts{"a", "b"}), Items());   // added, so sorted by the style

    EXPECT_EQ(-1, cmb.AddItem("", CB_INSERTSTRING, 0, 0));
    EXPECT_EQ(0, cmb.AddItem("B", CB_INSERTSTRING, 0, 0));   // equal in another case: moved, new spelling
    EXPECT_EQ((Texts{"B", "a"}), Items());
    EXPECT_EQ(0, Send(CB_GETCURSEL));
    EXPECT_EQ(0, cmb.AddItem("A", CB_INSERTSTRING, 0, 1));
    EXPECT_EQ(0, cmb.AddItem("ソ表", CB_INSERTSTRING, 5, 0));
    EXPECT_EQ(4, cmb.AddItem("end", CB_INSERTSTRING, -1, 0));
    EXPECT_EQ(4, Send(CB_GETCURSEL));
    EXPECT_EQ((Texts{"ソ表", "A", "B", "a", "end"}), Items());
    EXPECT_EQ(400, Dropped());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Cmb, ReadingAndDeletingItems)
{
    ASSERT_NE(nullptr, Create());
    char* slot = reinterpret_cast<char*>(this);
    EXPECT_EQ(-10, cmb.GetSelectedText(&slot));
    EXPECT_EQ(reinterpret_cast<char*>(this), slot);
    EXPECT_EQ(Results(3, -10), (Results{cmb.DeleteSelected(), cmb.DeleteItem(0), cmb.DeleteAll()}));
    Fill({"a", "ソ表", "c", "d"});
    // Nothing selected, an index past the end: no question, no message.
    EXPECT_EQ(Results(3, -1), (Results{cmb.GetSelectedText(&slot), cmb.DeleteSelected(), cmb.DeleteItem(4)}));
    EXPECT_TRUE(boxes.Boxes().empty());
    slot = nullptr;
    Send(CB_SETCURSEL, 1);
    EXPECT_EQ(1, cmb.GetSelectedText(&slot));
    EXPECT_STREQ("ソ表", slot);
    EXPECT_EQ(4u + 5u, HeapSize(GetProcessHeap(), 0, slot));
    FreeTextBuffer(&slot);

    boxes.QueueAnswer(IDNO);
    boxes.QueueAnswer(IDNO);
    boxes.QueueAnswer(IDYES);
    boxes.QueueAnswer(IDYES);
    EXPECT_EQ((Results{-1, -1, 3}), (Results{cmb.DeleteSelected(), cmb.DeleteAll(), cmb.DeleteItem(-3)}));
    EXPECT_EQ((Texts{"ソ表", "c", "d"}), Items());
    EXPECT_EQ(1, cmb.DeleteAll());
    EXPECT_EQ(0, cmb.GetCount());
    ASSERT_EQ(4u, boxes.Boxes().size());
    EXPECT_EQ("選択項目を削除してもよろしいですか？", boxes.Boxes()[0].text);
    EXPECT_EQ("全ての項目を削除してもよろしいですか？", boxes.Boxes()[1].text);
    EXPECT_THAT(boxes.Boxes(), Each(AllOf(Field(&MessageBoxRecord::caption, "確認"),
        Field(&MessageBoxRecord::style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION)), Field(&MessageBoxRecord::owner, owner))));
}

TEST_F(Cmb, HeightsAndTheLastItem)
{
    ASSERT_NE(nullptr, Create());
    EXPECT_EQ(2 * Closed(), Dropped());   // empty: about one row
    EXPECT_EQ(1, cmb.SetItemHeight(9));
    EXPECT_EQ(15, Send(CB_GETITEMHEIGHT));
    EXPECT_EQ(1, cmb.SetItemHeight(10));
    EXPECT_EQ(10, Send(CB_GETITEMHEIGHT));
    int closed = Closed();   // from the font: 21 pixels under Wine, 22 on Windows
    EXPECT_EQ(1, cmb.ApplyListHeight(50));
    EXPECT_EQ(std::max(50, 2 * closed), Dropped());
    EXPECT_EQ(1, cmb.ApplyListHeight(30));
    EXPECT_EQ(2 * closed, Dropped());

    cmb.AddItem("only", CB_INSERTSTRING, 0, 0);
    EXPECT_EQ(400, Dropped());
    PumpPending();
    comboProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountPaints)));
    paints = 0;
    cmb.SetShowMessages(0);
    EXPECT_EQ(0, cmb.DeleteItem(0));
    EXPECT_GT(paints, 0);   // painted within the call
    EXPECT_EQ(2 * closed, Dropped());
    cmb.AddItem("again", CB_INSERTSTRING, 0, 0);
    EXPECT_EQ(400, Dropped());
}

TEST_F(Cmb, DropListAndClose)
{
    ASSERT_NE(nullptr, Create());
    Fill({"a", "b"});
    EXPECT_EQ(1, cmb.ShowDropDown(1));
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    SetWindowPos(info.hwndList, nullptr, 500, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(info.hwndList, cmb.PlaceDropList());
    RECT comboRect, listRect;
    GetWindowRect(combo, &comboRect);
    GetWindowRect(info.hwndList, &listRect);
    EXPECT_EQ(comboRect.left, listRect.left);
    EXPECT_EQ(comboRect.bottom, listRect.top);
    DWORD process = 0;   // the search by class finds a list of this process
    GetWindowThreadProcessId(FindOwnComboLBox(GetTickCount()), &process);
    EXPECT_EQ(GetCurrentProcessId(), process);
    EXPECT_EQ(1, cmb.ShowDropDown(0));
    EXPECT_FALSE(Send(CB_GETDROPPEDSTATE));

    EXPECT_EQ(1, cmb.Close());
    EXPECT_TRUE(IsWindow(combo));
    PumpPending();
    EXPECT_FALSE(IsWindow(combo));
}
