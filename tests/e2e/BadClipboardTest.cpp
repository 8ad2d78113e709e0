// What other programs put on the clipboard: empty, huge or unterminated texts, bytes that are not
// CP932, formats that are not text, a clipboard held open, a text that changes while it is read.
// The history records at most 500 bytes of whole characters per text, or nothing; the plug-in
// never writes past its buffers (guarded by the fixture) and never waits on the clipboard.
#include "e2e/RobustFixture.h"
#include "support/ImportPatch.h"
#include <algorithm>
#include <functional>

namespace {

const char kNoHistory[] = "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ履歴がありません！！";

class BadClipboard : public RobustFixture {
protected:
    void ExpectNoHistory()
    {
        EXPECT_TRUE(HistoryView().empty());
        EXPECT_EQ(kNoHistory, StatusText());
    }
};

TEST_F(BadClipboard, EmptyTextsAndOtherFormatsRecordNothing)
{
    PutClipboard(CF_TEXT, "", 1);
    // A block of no bytes at all.
    ASSERT_TRUE(OpenClipboard(Frame()));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, GlobalAlloc(GMEM_MOVEABLE, 0));
    CloseClipboard();
    PumpPending();
    const char dib[sizeof(BITMAPINFOHEADER) + 4] = {sizeof(BITMAPINFOHEADER)};
    PutClipboard(CF_DIB, dib, sizeof dib);
    PutClipboard(RegisterClipboardFormatA("Vexaro test private"), "abc", 4);
    EmptyTheClipboard();
    ExpectNoHistory();
    // In the history view an empty text leaves the list as it is.
    CopyText("one");
    Press(40007);
    PutClipboard(CF_TEXT, "", 1);
    EXPECT_EQ(std::vector<std::string>{"one"}, Items());
    Press(40007);
}

static HGLOBAL Block(const char* text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    if (block != nullptr) {
        memcpy(GlobalLock(block), text, strlen(text) + 1);
        GlobalUnlock(block);
    }
    return block;
}

// More formats than one list of them holds (office programs offer dozens): each is then asked for
// on its own, so a private mark is still seen and the text still read.
TEST_F(BadClipboard, ClipboardWithManyFormatsIsStillJudgedAndRead)
{
    for (const char* text : {"hidden", "shown"}) {
        bool hidden = strcmp(text, "hidden") == 0;
        PublishClipboard([&] {
            for (int i = 0; i < 80; ++i)
                SetClipboardData(RegisterClipboardFormatA(("Vexaro test format " + std::to_string(i)).c_str()), Block("x"));
            if (hidden) SetClipboardData(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing"), Block(""));
            SetClipboardData(CF_TEXT, Block(text));
        });
    }
    EXPECT_EQ(std::vector<std::string>{"shown"}, HistoryView());
}

TEST_F(BadClipboard, HugeAndUnterminatedTextsAreCutToFiveHundredBytesOfWholeCharacters)
{
    // 1 MB: x and then あ (two bytes) over and over; the あ across byte 500 goes whole.
    std::string megabyte = "x";
    while (megabyte.size() < 1000000) megabyte += "あ";
    CopyText(megabyte);
    std::string longUnterminated(300, 'r');
    for (int i = 0; i < 200; ++i) longUnterminated += "ソ"; // second byte 0x5C
    PutClipboard(CF_TEXT, longUnterminated.data(), longUnterminated.size());
    std::string cutFirst = "x";
    for (int i = 0; i < 249; ++i) cutFirst += "あ";
    std::string cutLast(300, 'r');
    for (int i = 0; i < 100; ++i) cutLast += "ソ";
    EXPECT_EQ((std::vector<std::string>{cutLast, cutFirst}), HistoryView());
}

// Wine puts a zero into the last byte of every text block handed to the clipboard; another
// system hands the block on as it is. The plug-in gets such a block here straight from
// GetClipboardData: 100 bytes of q without a zero, followed by more bytes that are not zero.
HGLOBAL unterminatedBlock = nullptr;
HANDLE WINAPI GiveUnterminatedBlock(UINT format)
{
    return format == CF_TEXT ? unterminatedBlock : nullptr;
}

TEST_F(BadClipboard, TextWithoutTerminatingZeroIsNotReadPastItsBlock)
{
    unterminatedBlock = GlobalAlloc(GMEM_MOVEABLE, 200);
    memset(GlobalLock(unterminatedBlock), 'q', 200);
    GlobalUnlock(unterminatedBlock);
    unterminatedBlock = GlobalReAlloc(unterminatedBlock, 100, 0);
    ASSERT_EQ(100u, GlobalSize(unterminatedBlock));
    ASSERT_GT(strnlen(static_cast<const char*>(GlobalLock(unterminatedBlock)), 150), 100u);
    GlobalUnlock(unterminatedBlock);
    CopyText("stand-in");
    {
        ImportPatch patch(Module(), "user32.dll", "GetClipboardData", reinterpret_cast<void*>(&GiveUnterminatedBlock));
        ASSERT_TRUE(patch.Installed());
        CopyText("read as the block");
    }
    GlobalFree(unterminatedBlock);
    EXPECT_EQ((std::vector<std::string>{std::string(100, 'q'), "stand-in"}), HistoryView());
}

TEST_F(BadClipboard, BytesThatAreNotCp932AreRecordedAndInsertedWithoutHarm)
{
    const std::string texts[] = {
        "\x81",                       // a lead byte alone
        "ab\x81",                     // a lead byte at the end
        "\x80\xA0\xFD\xFE\xFF",       // bytes that start no character
        "\x81\x20\x81\x7F z",         // lead bytes before bytes that cannot follow them
        std::string(499, 'x') + "\x81\x81\x81", // lead bytes across the 500-byte cut
    };
    for (const std::string& text : texts) CopyText(text);
    SetCaret(0, 0);
    Press(40007);
    std::vector<std::string> items = Items();
    EXPECT_FALSE(items.empty());
    EXPECT_LE(items.size(), std::size(texts));
    for (const std::string& item : items) EXPECT_LE(item.size(), 500u);
    for (size_t i = 0; i < items.size(); ++i) Choose(static_cast<int>(i));
    Press(40007);
    EXPECT_NE("abc\r\nDef ghi\r\n\r\nカタカナ", Text());
    EXPECT_TRUE(boxes->Boxes().empty());
}

// Holds the clipboard open from another thread until released; with `text`, as a clipboard manager
// does, right after another program put that text there (and closed it, which posts the notice).
class ClipboardHolder {
public:
    explicit ClipboardHolder(const char* text = nullptr) : text(text)
    {
        opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, &ClipboardHolder::Run, this, 0, nullptr);
        WaitForSingleObject(opened, 5000);
    }
    ~ClipboardHolder()
    {
        SetEvent(release);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        CloseHandle(opened);
        CloseHandle(release);
    }
    HWND window = nullptr;

private:
    static DWORD WINAPI Run(LPVOID param)
    {
        auto* self = static_cast<ClipboardHolder*>(param);
        self->window = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        if (self->text != nullptr && OpenClipboard(self->window)) {
            EmptyClipboard();
            SetClipboardData(CF_TEXT, Block(self->text));
            CloseClipboard();
        }
        if (!OpenClipboard(self->window)) self->window = nullptr;
        SetEvent(self->opened);
        WaitForSingleObject(self->release, 10000);
        CloseClipboard();
        DestroyWindow(self->window);
        return 0;
    }
    const char* text;
    HANDLE opened;
    HANDLE release;
    HANDLE thread;
};

TEST_F(BadClipboard, ClipboardHeldOpenByAnotherWindowIsLeftAloneAndNotWaitedFor)
{
    CopyText("before");
    {
        ClipboardNotices notices;
        ClipboardHolder holder("held");
        ASSERT_NE(nullptr, holder.window);
        // The change notice is taken while the other window still holds the clipboard.
        DWORD start = GetTickCount();
        ASSERT_TRUE(PumpUntil([&] { return notices.To(BandDialog()) > 0; }, 2000));
        EXPECT_LT(GetTickCount() - start, 1000u);
        EXPECT_EQ(holder.window, GetOpenClipboardWindow());
    }
    PumpFor(100); // the band's next try, once the other window let go
    CopyText("after");
    EXPECT_EQ((std::vector<std::string>{"after", "held", "before"}), HistoryView());
}

// Timer messages without a window that this thread takes from its queue while it lives.
class WindowlessTimers {
public:
    WindowlessTimers() : hook(SetWindowsHookExA(WH_GETMESSAGE, Seen, nullptr, GetCurrentThreadId())) { count = 0; }
    ~WindowlessTimers() { UnhookWindowsHookEx(hook); }
    static inline int count = 0;

private:
    static LRESULT CALLBACK Seen(int code, WPARAM removed, LPARAM lParam)
    {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && removed == PM_REMOVE && msg->message == WM_TIMER && msg->hwnd == nullptr) ++count;
        return CallNextHookEx(nullptr, code, removed, lParam);
    }
    HHOOK hook;
};

// The clipboard held by another program as the bar opens: once it lets go, the text is recorded
// by the retry, whose timer is the band's, so none ticks on without a window for as long as the
// editor runs. Event 0x800 during a pending retry leaves the emptied history empty.
TEST_F(BadClipboard, ARetryPendingAtOpeningOrAtEvent800EndsWithTheBandAndTheHistory)
{
    Press(40009);
    CopyText("there when the bar opens");
    WindowlessTimers timers;
    {
        ClipboardHolder holder;
        ASSERT_NE(nullptr, holder.window);
        OpenClipBar();
    }
    PumpFor(400);
    EXPECT_EQ(0, timers.count) << "timer messages without a window";
    EXPECT_EQ(std::vector<std::string>{"there when the bar opens"}, HistoryView());
    {
        ClipboardNotices notices;
        ClipboardHolder holder("pending");
        ASSERT_TRUE(PumpUntil([&] { return notices.To(BandDialog()) > 0; }, 2000));
        SendEvent(0x800);
    }
    PumpFor(300);
    ExpectNoHistory();
}

// Another program's clipboard viewer on a thread of its own. As clipboard managers do, it opens
// the clipboard the moment it changes and keeps it `holdMs`; with `ping`, it asks that window
// whether it answers meanwhile.
class OtherViewer {
public:
    OtherViewer(DWORD holdMs, HWND ping = nullptr) : holdMs(holdMs), ping(ping)
    {
        ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, &OtherViewer::Run, this, 0, nullptr);
        WaitForSingleObject(ready, 5000);
        // A window joining the chain is told of the clipboard at once; the test's changes come after.
        PumpUntil([this] { return notices > 0; }, 500);
        PumpPending();
        notices = 0;
        armed = 1;
    }
    ~OtherViewer()
    {
        PostMessageA(window, WM_CLOSE, 0, 0);
        // Leaving the chain tells the band, on this thread: keep it answering.
        PumpUntil([this] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 10000);
        CloseHandle(thread);
        CloseHandle(ready);
    }
    // Waits until every change seen so far is over: the clipboard closed, the viewer answering.
    bool WaitIdle(DWORD timeoutMs)
    {
        return PumpUntil([this] { return busy == 0; }, timeoutMs);
    }
    HWND window = nullptr;
    volatile LONG notices = 0;
    volatile LONG busy = 0;
    volatile LONG editorAnswered = -1; // while the clipboard was held: the editor answered (1) or not (0)
    volatile LONG armed = 0;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<OtherViewer*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        switch (message) {
        case WM_DRAWCLIPBOARD: {
            InterlockedIncrement(&self->notices);
            if (!self->armed) return 0;  // joining: the test's changes come after
            if (self->holdMs != 0 && OpenClipboard(w)) {
                InterlockedIncrement(&self->busy);
                SetTimer(w, 1, self->holdMs, nullptr);
            }
            if (self->next != nullptr) SendMessageA(self->next, message, wParam, lParam);
            if (self->ping != nullptr) {
                DWORD_PTR answer = 0;
                self->editorAnswered = SendMessageTimeoutA(self->ping, WM_NULL, 0, 0, SMTO_NORMAL, 100, &answer) ? 1 : 0;
            }
            return 0;
        }
        case WM_TIMER:
            KillTimer(w, 1);
            CloseClipboard();
            InterlockedDecrement(&self->busy);
            return 0;
        case WM_CHANGECBCHAIN:
            if (reinterpret_cast<HWND>(wParam) == self->next) {
                self->next = reinterpret_cast<HWND>(lParam);
            } else if (self->next != nullptr) {
                SendMessageA(self->next, message, wParam, lParam);
            }
            return 0;
        case WM_DESTROY:
            ChangeClipboardChain(w, self->next);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(w, message, wParam, lParam);
        }
    }
    static DWORD WINAPI Run(LPVOID param)
    {
        auto* self = static_cast<OtherViewer*>(param);
        WNDCLASSA kind = {};
        kind.lpfnWndProc = Proc;
        kind.hInstance = GetModuleHandleA(nullptr);
        kind.lpszClassName = "VexaroTestOtherViewer";
        RegisterClassA(&kind);
        self->window = CreateWindowExA(0, kind.lpszClassName, "other viewer", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                       kind.hInstance, nullptr);
        SetWindowLongPtrA(self->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->next = SetClipboardViewer(self->window);
        SetEvent(self->ready);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        return 0;
    }
    DWORD holdMs;
    HWND ping;
    HWND next = nullptr;
    HANDLE ready;
    HANDLE thread;
};

TEST_F(BadClipboard, CopiesMadeWhileAnotherProgramHoldsTheClipboardAMomentAreAllRecordedInOrder)
{
    const std::vector<std::string> copies = {"one", "two", "three", "four", "five"};
    {
        OtherViewer manager(40);
        for (const std::string& text : copies) {
            CopyText(text);
            ASSERT_TRUE(manager.WaitIdle(2000));
            PumpFor(100);  // the band's next try
        }
        EXPECT_EQ(5, manager.notices);
    }
    EXPECT_EQ((std::vector<std::string>{"five", "four", "three", "two", "one"}), HistoryView());
    // A long hold: the band may give up on that copy, but never holds the editor.
    {
        OtherViewer manager(1500, Frame());
        CopyText("held long");
        ASSERT_TRUE(manager.WaitIdle(3000));
        EXPECT_EQ(1, manager.editorAnswered) << "the editor did not answer while the clipboard was held";
    }
}

// Runs `change` once, right after the plug-in closes the clipboard for the first time, which is
// after it has read the text (measured and copied in one opening).
class ChangeAfterReading {
public:
    ChangeAfterReading(HMODULE module, std::function<void()> change)
        : patch(module, "user32.dll", "CloseClipboard", reinterpret_cast<void*>(&Close))
    {
        pending = std::move(change);
        original = patch.Original();
    }
    ~ChangeAfterReading() { pending = nullptr; }
    bool Installed() const { return patch.Installed(); }

private:
    static BOOL WINAPI Close()
    {
        BOOL closed = reinterpret_cast<BOOL(WINAPI*)()>(original)();
        std::function<void()> change;
        change.swap(pending);
        if (change) change();
        return closed;
    }
    ImportPatch patch;
    static inline std::function<void()> pending;
    static inline void* original = nullptr;
};

TEST_F(BadClipboard, TextChangedRightAfterItIsReadIsKeptWholeAndTheChangeByItsOwnNotice)
{
    {
        // The text read is the one measured, whatever comes right after it.
        ChangeAfterReading change(Module(), [this] { CopyText("ソソソソソソ"); });
        ASSERT_TRUE(change.Installed());
        CopyText("short");
    }
    {
        ChangeAfterReading change(Module(), [this] { EmptyTheClipboard(); });
        CopyText("gone right after it was read");
    }
    {
        ChangeAfterReading change(Module(), [this] { PutClipboard(CF_DIB, "\x28\0\0\0", 4); });
        CopyText("replaced by a picture");
    }
    // The change is recorded by its own notice, in full; an emptied or pictures-only one adds nothing.
    std::vector<std::string> history = HistoryView();
    std::sort(history.begin(), history.end());
    EXPECT_EQ((std::vector<std::string>{"gone right after it was read", "replaced by a picture", "short", "ソソソソソソ"}),
              history);
}

} // namespace
