// The sample host with the plug-in loaded and the clip bar open, and the user's ways of using it.
#pragma once
#include "fixture/HostFixture.h"
#include "host/HostRebar.h"
#include "support/ComboItems.h"
#include "support/Pump.h"
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// Counts the clipboard-change notices (WM_CLIPBOARDUPDATE) that windows of this thread take from
// its queue while it lives: they are posted, so only a hook on the queue sees them. One at a time.
class ClipboardNotices {
public:
    ClipboardNotices() : hook(SetWindowsHookExA(WH_GETMESSAGE, Seen, nullptr, GetCurrentThreadId())) { windows.clear(); }
    ~ClipboardNotices() { UnhookWindowsHookEx(hook); }
    ClipboardNotices(const ClipboardNotices&) = delete;
    ClipboardNotices& operator=(const ClipboardNotices&) = delete;
    int To(HWND window) const { return static_cast<int>(std::count(windows.begin(), windows.end(), window)); }

private:
    static LRESULT CALLBACK Seen(int code, WPARAM removed, LPARAM lParam)
    {
        const MSG* posted = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && removed == PM_REMOVE && posted->message == WM_CLIPBOARDUPDATE)
            windows.push_back(posted->hwnd);
        return CallNextHookEx(nullptr, code, removed, lParam);
    }
    static inline std::vector<HWND> windows;
    HHOOK hook;
};

class ClipBarFixture : public HostFixture {
protected:
    ClipBarFixture()
    {
        setup.loadPlugin = true;
        setup.text = "abc\r\nDef ghi\r\n\r\nカタカナ";
    }
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(OpenProblems().empty()) << OpenProblems();
        // The band records what is on the clipboard when it joins the viewer chain: start empty.
        ASSERT_TRUE(OpenClipboard(Frame()));
        EmptyClipboard();
        CloseClipboard();
        PumpPending();
        BeforeOpeningTheBar();
        if (HasFatalFailure()) return;
        OpenClipBar();
    }
    // What a fixture sets up once the host is open, before the bar opens.
    virtual void BeforeOpeningTheBar() {}
    void OpenClipBar()
    {
        RunPluginCommand();
        PumpPending();
    }
    HWND Toolbar() { return RebarBandChild(Rebar(), 1000); }
    HWND Combo() { return GetDlgItem(Toolbar(), 1001); }
    // A real click on the button, as the user makes it.
    void Press(int id)
    {
        HWND toolbar = Toolbar();
        ASSERT_NE(nullptr, toolbar);
        int index = static_cast<int>(SendMessageA(toolbar, TB_COMMANDTOINDEX, id, 0));
        RECT r;
        ASSERT_TRUE(SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(toolbar, WM_MOUSEMOVE, 0, at);
        PostMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(toolbar, WM_LBUTTONUP, 0, at);
        PumpPending();
    }
    LRESULT State(int id) { return SendMessageA(Toolbar(), TB_GETSTATE, id, 0); }
    bool Checked(int id) { return (State(id) & TBSTATE_CHECKED) != 0; }
    bool Enabled(int id) { return (State(id) & TBSTATE_ENABLED) != 0; }
    // The clip list's items, of the bar in the first frame or of the bar with this toolbar.
    std::vector<std::string> Items(HWND toolbar = nullptr)
    {
        return ComboItems(toolbar != nullptr ? GetDlgItem(toolbar, 1001) : Combo());
    }
    // What the history view shows, read by switching to it and back (from the normal view); empty
    // when there is no history to show.
    std::vector<std::string> HistoryView()
    {
        Press(40007);
        std::vector<std::string> items = Checked(40007) ? Items() : std::vector<std::string>{};
        if (Checked(40007)) Press(40007);
        return items;
    }
    // Puts what `fill` sets on the clipboard, as an application does, and waits until an open
    // band, a viewer of the clipboard, has been told.
    template <class Fill>
    void PublishClipboard(Fill fill)
    {
        ClipboardNotices notices;
        ASSERT_TRUE(OpenClipboard(Frame()));
        EmptyClipboard();
        fill();
        CloseClipboard();
        HWND dialog = BandDialog();
        if (dialog != nullptr) {
            ASSERT_TRUE(PumpUntil([&] { return notices.To(dialog) > 0; }, 2000)) << "the band was never told of the change";
        }
        PumpPending();
    }
    // Puts `text` on the clipboard as CF_TEXT without waiting for anyone to be told.
    void PutOnClipboard(const char* text)
    {
        ASSERT_TRUE(OpenClipboard(Frame()));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
        memcpy(GlobalLock(block), text, strlen(text) + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
    // Copies `text`, beside it the registered format `markFormat` holding `markValue` when given,
    // as an application that keeps a copy out of clipboard histories does.
    void Copy(const std::string& text, const char* markFormat = nullptr, DWORD markValue = 0)
    {
        PublishClipboard([&] {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
            memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
            GlobalUnlock(block);
            SetClipboardData(CF_TEXT, block);
            if (markFormat != nullptr) {
                HGLOBAL mark = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
                *static_cast<DWORD*>(GlobalLock(mark)) = markValue;
                GlobalUnlock(mark);
                SetClipboardData(RegisterClipboardFormatA(markFormat), mark);
            }
        });
    }
    void CopyBitmap()
    {
        PublishClipboard([] { SetClipboardData(CF_BITMAP, CreateBitmap(4, 4, 1, 1, nullptr)); });
    }
    int QueryStatus()
    {
        BOOL flag = 0;
        return Host().Plugins().at(0).queryStatus(View(), &flag);
    }
    // The user picks item `index` from the dropped-down list; the list tells its owner as it does
    // for a mouse choice.
    void Choose(int index)
    {
        HWND combo = Combo();
        SendMessageA(combo, CB_SETCURSEL, index, 0);
        SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        PumpPending();
    }
    // The band's invisible container dialog: the one dialog among the rebar's children.
    HWND BandDialog() { return Rebar() ? FindWindowExA(Rebar(), nullptr, "#32770", nullptr) : nullptr; }
    HWND DropList()
    {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        return GetComboBoxInfo(Combo(), &info) ? info.hwndList : nullptr;
    }
    // The conversion palette, if one exists: the dialog of this thread with the palette's boxes,
    // found whether or not a band is still open.
    HWND Palette()
    {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) CALLBACK -> BOOL {
            if (!GetDlgItem(w, 1003) || !GetDlgItem(w, 1012)) return TRUE;
            *reinterpret_cast<HWND*>(out) = w;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    void SendEvent(UINT flags) { Host().Plugins().at(0).onEvents(View(), flags, 0); }
    // The mode the toolbar shows: "normal", "history", "hold" or "hold+history"; otherwise the
    // states of 40002 40003 40004 40008 40005 40006 40009 40007 40010 as e(nabled), C(hecked),
    // c (checked, disabled) or - (disabled).
    std::string Mode()
    {
        static const int ids[] = {40002, 40003, 40004, 40008, 40005, 40006, 40009, 40007, 40010};
        std::string seen;
        for (int id : ids) {
            LRESULT s = State(id);
            seen += (s & TBSTATE_ENABLED) ? ((s & TBSTATE_CHECKED) ? 'C' : 'e') : ((s & TBSTATE_CHECKED) ? 'c' : '-');
        }
        if (seen == "eeeeeeeee") return "normal";
        if (seen == "-------Ce") return "history";
        if (seen == "--------C") return "hold";
        if (seen == "-------cC") return "hold+history";
        return seen;
    }
};

// Counts the ticks of the hold timer as the thread's message loop takes them.
class TickCounter {
public:
    explicit TickCounter(HWND dialog)
    {
        target = dialog;
        count = 0;
        hook = SetWindowsHookExA(WH_GETMESSAGE, Proc, nullptr, GetCurrentThreadId());
    }
    ~TickCounter() { UnhookWindowsHookEx(hook); }
    TickCounter(const TickCounter&) = delete;
    TickCounter& operator=(const TickCounter&) = delete;
    int Ticks() const { return count; }
    void Reset() { count = 0; }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && msg->hwnd == target &&
            msg->wParam == 1002)
            ++count;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline HWND target = nullptr;
    static inline int count = 0;
    HHOOK hook = nullptr;
};

// Ctrl held down as the thread's keyboard state sees it, for as long as this lives.
class CtrlHeld {
public:
    CtrlHeld() { SetCtrl(0x80); }
    ~CtrlHeld() { SetCtrl(0); }
    CtrlHeld(const CtrlHeld&) = delete;
    CtrlHeld& operator=(const CtrlHeld&) = delete;

private:
    static void SetCtrl(BYTE state)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = state;
        SetKeyboardState(keys);
    }
};

// The left Ctrl key held down as a user holds it, for as long as this lives: a real key-down
// through the input stream, so the system's key state has it as well as the thread's, and input
// injected meanwhile arrives with Ctrl down. Released at the end.
class CtrlKeyHeld {
public:
    CtrlKeyHeld()
    {
        Send(0);
        PumpUntil([] { return GetKeyState(VK_CONTROL) < 0; }, 3000);
    }
    ~CtrlKeyHeld()
    {
        Send(KEYEVENTF_KEYUP);
        PumpUntil([] { return GetKeyState(VK_CONTROL) >= 0; }, 3000);
    }
    CtrlKeyHeld(const CtrlKeyHeld&) = delete;
    CtrlKeyHeld& operator=(const CtrlKeyHeld&) = delete;
    // Whether the system has the left Ctrl down and the right one up: the user's keys as held.
    static bool AsHeld() { return GetAsyncKeyState(VK_LCONTROL) < 0 && GetAsyncKeyState(VK_RCONTROL) >= 0; }

private:
    static void Send(DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_LCONTROL;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof input);
    }
};
