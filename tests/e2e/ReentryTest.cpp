// Things that arrive while the plug-in is inside something else: clipboard changes and hold-timer
// ticks while one of its message boxes is open, event 0x800 in the history view or the hold, the
// band closed in the middle of a palette drag or a question.
#include "e2e/RobustFixture.h"
#include <functional>

namespace {

// Lets the plug-in's real message boxes appear. Inside each box's own message loop it runs
// `during`, keeps the box open `openMs` longer, then presses `button`.
class OpenBoxes {
public:
    OpenBoxes(int button, DWORD openMs, std::function<void()> during)
        : button(button), openMs(openMs), during(std::move(during))
    {
        active = this;
        hook = SetWindowsHookExA(WH_CBT, &OpenBoxes::Cbt, nullptr, GetCurrentThreadId());
    }
    ~OpenBoxes()
    {
        UnhookWindowsHookEx(hook);
        active = nullptr;
    }
    OpenBoxes(const OpenBoxes&) = delete;
    OpenBoxes& operator=(const OpenBoxes&) = delete;
    std::vector<std::string> texts;

private:
    static LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE && active != nullptr) {
            char name[16] = "";
            GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
            if (strcmp(name, "#32770") == 0) SetTimer(reinterpret_cast<HWND>(wParam), 1, 20, &OpenBoxes::Opened);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK Opened(HWND box, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(box, timer);
        if (active == nullptr) return;
        char text[512] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        active->texts.push_back(text);
        if (active->during) active->during();
        SetTimer(box, 2, active->openMs, &OpenBoxes::Answer);
    }
    static void CALLBACK Answer(HWND box, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(box, timer);
        if (active != nullptr) PostMessageA(box, WM_COMMAND, MAKEWPARAM(active->button, BN_CLICKED), 0);
    }
    static inline OpenBoxes* active = nullptr;
    HHOOK hook = nullptr;
    int button;
    DWORD openMs;
    std::function<void()> during;
};

class Reentry : public RobustFixture {
protected:
    void SetUp() override
    {
        RobustFixture::SetUp();
        SetCaret(0, 1);
        Press(40008);
        SetCaret(1, 1);
        Press(40008);
        ASSERT_EQ(saved, Items());
    }
    void ShowRealBoxes() { boxes.reset(); }
    const std::vector<std::string> saved = {"Def ghi", "abc"};
};

TEST_F(Reentry, ClipboardChangesWhileADeleteQuestionIsOpenAreRecorded)
{
    ShowRealBoxes();
    {
        OpenBoxes answer(IDNO, 50, [this] { CopyText("while asked once"); });
        Press(40005);
        EXPECT_EQ(std::vector<std::string>{"選択項目を削除してもよろしいですか？"}, answer.texts);
    }
    EXPECT_EQ(saved, Items());
    {
        OpenBoxes answer(IDYES, 50, [this] { CopyText("while asked twice"); });
        Press(40006);
        EXPECT_EQ(std::vector<std::string>{"全ての項目を削除してもよろしいですか？"}, answer.texts);
    }
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ((std::vector<std::string>{"while asked twice", "while asked once"}), HistoryView());
}

TEST_F(Reentry, HoldTicksAndClipboardChangesWhileAnErrorBoxIsOpen)
{
    Press(40011);
    HWND palette = Palette();
    ASSERT_NE(nullptr, palette);
    for (int id : {1003, 1004, 1005, 1006, 1007, 1008, 1010, 1011, 1012})
        SendDlgItemMessageA(palette, id, BM_SETCHECK, BST_UNCHECKED, 0);
    Press(40010);
    ASSERT_TRUE(Checked(40010));
    ShowRealBoxes();
    std::string document = Text();
    {
        // The box stays open for several ticks of the hold timer.
        OpenBoxes answer(IDOK, 400, [this] { CopyText("during the box"); });
        Choose(1);
        EXPECT_EQ(std::vector<std::string>{"文字変換ダイアログのオプションが指定されていません！！"}, answer.texts);
    }
    // The box took the foreground from the editor, which ends the hold at the next tick.
    EXPECT_TRUE(PumpUntil([this] { return !Checked(40010); }, 2000));
    EXPECT_EQ(document, Text());
    for (int id : {40002, 40003, 40004, 40008, 40007, 40005, 40006, 40009}) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(saved, Items());
    Press(40011);
    EXPECT_EQ(std::vector<std::string>{"during the box"}, HistoryView());
}

TEST_F(Reentry, EventEightHundredInTheHistoryViewDiscardsTheSavedItems)
{
    CopyText("one");
    Press(40007);
    SendEvent(0x800);
    // The list still shows the history; the saved items and the history itself are gone.
    EXPECT_EQ(std::vector<std::string>{"one"}, Items());
    Press(40007);
    EXPECT_TRUE(Items().empty());
    EXPECT_TRUE(HistoryView().empty());
}

TEST_F(Reentry, EventEightHundredInTheHoldKeepsTheVisibleItems)
{
    Press(40010);
    ASSERT_TRUE(Checked(40010));
    SendEvent(0x800);
    TickCounter ticks(BandDialog());
    EXPECT_TRUE(PumpUntil([&] { return ticks.Ticks() >= 2; }, 2000));
    EXPECT_TRUE(Checked(40010));
    EXPECT_EQ(saved, Items());
    Press(40010);
    EXPECT_FALSE(Checked(40010));
    // The visible list is what the next close saves.
    Press(40009);
    OpenClipBar();
    EXPECT_EQ(saved, Items());
}

// Starts a palette drag on its caption; `whileDragging` runs from inside the drag loop. A late
// button release ends a drag that would otherwise never end.
void DragPalette(HWND palette, std::function<void()> whileDragging)
{
    static std::function<void()> action;
    static HWND dragged = nullptr;
    action = std::move(whileDragging);
    dragged = palette;
    RECT r;
    GetWindowRect(palette, &r);
    SetCursorPos(r.left + 30, r.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 1);
    UINT_PTR act = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR timer, DWORD) CALLBACK {
        KillTimer(nullptr, timer);
        std::function<void()> run;
        run.swap(action);
        if (run) run();
    });
    UINT_PTR rescue = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR timer, DWORD) CALLBACK {
        KillTimer(nullptr, timer);
        if (IsWindow(dragged)) PostMessageA(dragged, WM_LBUTTONUP, 0, 0);
    });
    SendMessageA(palette, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(GetParent(palette)), MAKELPARAM(HTCAPTION, WM_LBUTTONDOWN));
    KillTimer(nullptr, act);
    KillTimer(nullptr, rescue);
}

TEST_F(Reentry, BandClosedWhileThePaletteIsDragged)
{
    for (bool wholeRebar : {false, true}) {
        SCOPED_TRACE(wholeRebar ? "rebar destroyed" : "band dialog destroyed");
        Press(40011);
        HWND palette = Palette();
        ASSERT_NE(nullptr, palette);
        RECT before;
        GetWindowRect(palette, &before);
        DWORD start = GetTickCount();
        bool dragging = false;
        DragPalette(palette, [this, wholeRebar, palette, &dragging] {
            dragging = GetCapture() == palette;
            POINT p;
            GetCursorPos(&p);
            SetCursorPos(p.x + 40, p.y + 30);
            PostMessageA(Palette(), WM_MOUSEMOVE, 0, 0);
            DestroyWindow(wholeRebar ? Rebar() : BandDialog());
        });
        EXPECT_TRUE(dragging);
        EXPECT_LT(GetTickCount() - start, 2500u); // ended by the closing, not by the rescue
        EXPECT_EQ(nullptr, GetCapture());
        EXPECT_FALSE(IsWindow(palette));
        EXPECT_EQ(1, QueryStatus());
        EXPECT_TRUE(LeftoverWindows().empty()) << LeftoverWindows().front();
        // The drag never finished: the palette reopens where it was.
        OpenClipBar();
        EXPECT_EQ(saved, Items());
        Press(40011);
        RECT after;
        GetWindowRect(Palette(), &after);
        EXPECT_EQ(before.left, after.left);
        EXPECT_EQ(before.top, after.top);
        Press(40011);
    }
}

TEST_F(Reentry, BandDestroyedWhileADeleteQuestionIsOpen)
{
    ShowRealBoxes();
    {
        OpenBoxes answer(IDYES, 50, [this] { DestroyWindow(Rebar()); });
        Press(40005);
        EXPECT_EQ(std::vector<std::string>{"選択項目を削除してもよろしいですか？"}, answer.texts);
    }
    EXPECT_EQ(1, QueryStatus());
    EXPECT_TRUE(LeftoverWindows().empty()) << LeftoverWindows().front();
    // The band was gone before the answer: nothing was deleted.
    OpenClipBar();
    EXPECT_EQ(saved, Items());
}

} // namespace
