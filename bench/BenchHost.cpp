#include "bench/BenchHost.h"
#include "bench/BareBand.h"
#include "bench/Stats.h"
#include "host/HostRebar.h"
#include "support/ComboItems.h"
#include "res/resource.h"
#include <commctrl.h>
#include <cstring>

// Host messages reach the frame or the view; both are subclassed to time them.
static double hostMessageMs = 0;
static WNDPROC frameProc = nullptr;
static WNDPROC viewProc = nullptr;

static WPARAM convertFlags = 0;

static LRESULT TimedHostMessage(WNDPROC next, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The first conversion the plug-in asks for is the one its palette's ticks mean.
    if (message == HM_CONVERT_SELECTION && convertFlags == 0) convertFlags = wParam;
    if (message < kFirstHostMessage || message > kLastHostMessage) return CallWindowProcA(next, window, message, wParam, lParam);
    Stopwatch watch;
    LRESULT result = CallWindowProcA(next, window, message, wParam, lParam);
    hostMessageMs += watch.ElapsedMs();
    return result;
}

static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return TimedHostMessage(frameProc, window, message, wParam, lParam);
}

static LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return TimedHostMessage(viewProc, window, message, wParam, lParam);
}

void BenchHost::WatchHostMessages()
{
    frameProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(host.Frame(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameProc)));
    viewProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(host.View(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ViewProc)));
}

BenchHost::BenchHost(const std::string& path) : pluginPath(path)
{
}

BenchHost::~BenchHost()
{
    Close();
}

bool BenchHost::Open(std::string& error)
{
    HostOptions options;
    options.plugins.push_back(pluginPath);
    if (!host.Open(options, error) || !error.empty() || host.Plugins().empty()) return false;
    boxes.reset(new MessageBoxHook(host.Plugins()[0].module));
    WatchHostMessages();
    if (!copier.Start()) {
        error = "cannot start the copying program";
        return false;
    }
    SetForegroundWindow(host.Frame());
    SetFocus(host.View());
    PumpPending();
    // The band records what is on the clipboard when it starts to listen: start empty.
    EmptyClipboardNow();
    return true;
}

void BenchHost::Close()
{
    SetCtrl(false);
    copier.Stop();
    bandTimer.Detach();
    // The hook patches the plug-in's imports: it goes before the library does.
    boxes.reset();
    HMODULE module = host.Plugins().empty() ? nullptr : host.Plugins()[0].module;
    host.Close();
    // The next host must load the library afresh: it gives its own reference back from the loop.
    PumpUntilUnloaded(module);
}

double BenchHost::OpenBand()
{
    Stopwatch watch;
    host.Plugins()[0].onCommand(host.View());
    double ms = watch.ElapsedMs();
    if (HWND dialog = BandDialog()) bandTimer.Attach(dialog);
    PumpPending();
    return ms;
}

void BenchHost::ForgetSavedItems()
{
    host.Plugins()[0].onEvents(host.View(), HE_UNLOAD, 0);
}

HWND BenchHost::Toolbar()
{
    return RebarBandChild(host.Rebar(), BAND_ID);
}

bool BenchHost::BandOpen()
{
    return Toolbar() != nullptr;
}

HWND BenchHost::Combo()
{
    return GetDlgItem(Toolbar(), IDC_CLIPLIST);
}

// The band's dialog: the invisible dialog among the rebar's children.
HWND BenchHost::BandDialog()
{
    for (HWND child = GetWindow(host.Rebar(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        if (strcmp(name, "#32770") == 0 && GetPropA(child, kBareBandProperty) == nullptr) return child;
    }
    return nullptr;
}

// The palette: a dialog of this thread with the palette's check boxes.
static BOOL CALLBACK FindPalette(HWND window, LPARAM found)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") != 0 || GetDlgItem(window, IDC_KATAKANA) == nullptr) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND BenchHost::Palette()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindPalette, reinterpret_cast<LPARAM>(&found));
    return found;
}

double BenchHost::Command(int id)
{
    HWND dialog = BandDialog();
    HWND toolbar = Toolbar();
    double hostBefore = hostMessageMs;
    Stopwatch watch;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(toolbar));
    double ms = watch.ElapsedMs();
    lastHostMs = hostMessageMs - hostBefore;
    PumpPending();
    return ms;
}

double BenchHost::Choose(int index)
{
    HWND combo = Combo();
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    double hostBefore = hostMessageMs;
    Stopwatch watch;
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    double ms = watch.ElapsedMs();
    lastHostMs = hostMessageMs - hostBefore;
    PumpPending();
    return ms;
}

// What a user sees after a capture: the text on top and chosen, and no second item equal to it.
static void PutOnTop(HWND combo, const char* text)
{
    LRESULT equal = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    if (equal >= 0) SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(equal), 0);
    SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

double BenchHost::BareCapture(BareKind kind, HWND combo)
{
    HWND frame = host.Frame();
    Stopwatch watch;
    HostPos caret = {0, 0};
    if (kind == kLine) {
        SendMessageA(frame, HM_GET_CARET_POS, 1, reinterpret_cast<LPARAM>(&caret));
        HostLineRequest ask = {0, 1, static_cast<UINT>(caret.line)};
        int size = static_cast<int>(SendMessageA(frame, HM_GET_LINE, reinterpret_cast<WPARAM>(&ask), 0));
        std::vector<char> text(static_cast<size_t>(size) + 1);
        HostLineRequest copy = {static_cast<UINT>(size) + 1, 1, static_cast<UINT>(caret.line)};
        SendMessageA(frame, HM_GET_LINE, reinterpret_cast<WPARAM>(&copy), reinterpret_cast<LPARAM>(text.data()));
        PutOnTop(combo, text.data());
        return watch.ElapsedMs();
    }
    if (kind != kSelection) {
        SendMessageA(frame, HM_GET_CARET_POS, 2, reinterpret_cast<LPARAM>(&caret));
        HostPos anchor = {kind == kToCaret ? 0 : 5000, caret.line};
        SendMessageA(frame, HM_SET_SELECTION, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&caret));
    }
    int size = static_cast<int>(SendMessageA(frame, HM_GET_SEL_TEXT, 0, 0));
    std::vector<char> text(static_cast<size_t>(size) + 1);
    SendMessageA(frame, HM_GET_SEL_TEXT, static_cast<WPARAM>(size) + 1, reinterpret_cast<LPARAM>(text.data()));
    PutOnTop(combo, text.data());
    return watch.ElapsedMs();
}

double BenchHost::BareCaptureSteps(BareKind kind)
{
    HWND frame = host.Frame();
    HostPos caret = {0, 0};
    if (kind == kToCaret || kind == kFromCaret) SendMessageA(frame, HM_GET_CARET_POS, 2, reinterpret_cast<LPARAM>(&caret));
    HostPos anchor = {kind == kToCaret ? 0 : 5000, caret.line};
    Stopwatch watch;
    SendMessageA(frame, HM_SET_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(""));
    // Ctrl held splits the selection into lines: the key is read to know which to do.
    if (kind == kSelection) GetKeyState(VK_CONTROL);
    if (kind == kToCaret || kind == kFromCaret) {
        SendMessageA(frame, HM_CONVERT_POS, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&anchor));
        SendMessageA(frame, HM_CONVERT_POS, reinterpret_cast<WPARAM>(&caret), reinterpret_cast<LPARAM>(&caret));
        SendMessageA(frame, HM_SET_SELECTION, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&caret));
    }
    return watch.ElapsedMs();
}

double BenchHost::BareInsert(HWND combo, int index, HWND palette)
{
    HWND frame = host.Frame();
    Stopwatch watch;
    char text[512] = "";
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    if (palette == nullptr) {
        SendMessageA(frame, HM_INSERT_TEXT, 0, reinterpret_cast<LPARAM>(text));
        return watch.ElapsedMs();
    }
    // The palette's boxes read (what they ask for is the conversion the plug-in sent), then the
    // text inserted, selected, converted and deselected as one undo step.
    for (int id = IDC_KATAKANA; id <= IDC_LETTERS_ONLY; ++id) SendMessageA(GetDlgItem(palette, id), BM_GETCHECK, 0, 0);
    HostPos before = {0, 0}, after = {0, 0};
    SendMessageA(frame, HM_GET_CARET_POS, 0, reinterpret_cast<LPARAM>(&before));
    SendMessageA(frame, HM_EDIT_BRACKET, 0, 0);
    SendMessageA(frame, HM_INSERT_TEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(frame, HM_GET_CARET_POS, 0, reinterpret_cast<LPARAM>(&after));
    SendMessageA(frame, HM_SET_SELECTION, reinterpret_cast<WPARAM>(&after), reinterpret_cast<LPARAM>(&before));
    SendMessageA(frame, HM_CONVERT_SELECTION, convertFlags, 0);
    SendMessageA(frame, HM_EXEC_COMMAND, HC_CANCEL_SELECTION, 0);
    SendMessageA(frame, HM_EDIT_BRACKET, 1, 0);
    return watch.ElapsedMs();
}

double BenchHost::SplitCapture(const std::string& document)
{
    SetDocument(document);
    SelectAll();
    SetCtrl(true);
    double ms = Command(ID_SAVE_SELECTION);
    SetCtrl(false);
    return ms;
}

std::vector<std::string> BenchHost::Items() { return ComboItems(Combo()); }

int BenchHost::ItemCount()
{
    return static_cast<int>(SendMessageA(Combo(), CB_GETCOUNT, 0, 0));
}

void BenchHost::SetDocument(const std::string& text)
{
    host.Edit().Load(text);
    host.ViewControl().Refresh();
}

void BenchHost::SelectAll()
{
    host.Edit().SelectAll();
    host.ViewControl().Refresh();
}

void BenchHost::SetCaret(int line, int column)
{
    host.Edit().MoveCaret({line, column}, false);
    host.ViewControl().Refresh();
}

void BenchHost::SetCtrl(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

bool BenchHost::Copy(const std::string& text)
{
    size_t handled = bandTimer.clipboardMs.size();
    if (!copier.Copy(text)) return false;
    if (!BandOpen()) return true;
    // The change reaches the band as a notice posted to it: pump until it is in.
    DWORD start = GetTickCount();
    while (bandTimer.clipboardMs.size() == handled) {
        if (GetTickCount() - start > 5000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        PumpPending();
    }
    PumpPending();
    return true;
}

void BenchHost::EmptyClipboardNow()
{
    if (!OpenClipboard(host.Frame())) return;
    EmptyClipboard();
    CloseClipboard();
}

void BenchHost::ForgetHostHistory()
{
    host.Log().Clear();
}

void BenchHost::ForgetTimes()
{
    bandTimer.destroyMs.clear();
    bandTimer.clipboardMs.clear();
}

// ---- BandMessageTimer ----

static BandMessageTimer* attached = nullptr;

void BandMessageTimer::Attach(HWND window)
{
    if (window == dialog) return;
    Detach();
    dialog = window;
    attached = this;
    original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
}

void BandMessageTimer::Detach()
{
    if (dialog != nullptr && IsWindow(dialog)) SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    dialog = nullptr;
    if (attached == this) attached = nullptr;
}

LRESULT CALLBACK BandMessageTimer::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    BandMessageTimer* self = attached;
    WNDPROC next = self->original;
    if (message != WM_DESTROY && message != WM_CLIPBOARDUPDATE) return CallWindowProcA(next, window, message, wParam, lParam);
    Stopwatch watch;
    LRESULT result = CallWindowProcA(next, window, message, wParam, lParam);
    double ms = watch.ElapsedMs();
    if (message == WM_DESTROY) {
        self->destroyMs.push_back(ms);
        // The window goes: put its own procedure back for the rest of its destruction.
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
        self->dialog = nullptr;
    } else {
        self->clipboardMs.push_back(ms);
    }
    return result;
}
