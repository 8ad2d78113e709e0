// Long random use of the clip bar: a seeded, reproducible sequence of user actions drawn from
// every command (all buttons with and without Ctrl, choosing items, palette clicks and drags,
// clipboard changes, typing and selecting in the editor, closing and reopening the band, event
// 0x800). After every action the invariants a user relies on are checked against a model of
// what the user has done: the list shows exactly the items saved (nothing lost across closing,
// reopening and history switches), at most 30 history entries, no item over its byte limit or
// ending in half a double-byte character, no window of the band left once it is closed, the
// settings file readable, no heap block written past its end.
//
// VEXARO_MONKEY_ACTIONS sets the number of actions (default 1500, the CI run; tools/vexaro soak
// runs 20,000) and VEXARO_MONKEY_SEED the seed; a failure prints both, the step and the last
// actions, and a hang or a crash prints them before the process ends. VEXARO_MONKEY_TRACE=1
// prints every action.
#include "e2e/MonkeyModel.h"
#include "e2e/RobustFixture.h"
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <deque>

namespace {

const char kTruncated[] = "取得文字列の、5000 バイト（保存上限）以降を切り捨てました！！";
const char kNoHistory[] = "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ履歴がありません！！";
const char kAskOne[] = "選択項目を削除してもよろしいですか？";
const char kAskAll[] = "全ての項目を削除してもよろしいですか？";
const char kNoOption[] = "文字変換ダイアログのオプションが指定されていません！！";
const int kPaletteControls[] = {1003, 1004, 1005, 1006, 1007, 1012, 1008, 1011, 1010, 1009};
const int kHoldButtons[] = {40002, 40003, 40004, 40008, 40007, 40005, 40006, 40009};
const int kHistoryButtons[] = {40002, 40003, 40004, 40008, 40005, 40006, 40009};

uint64_t EnvNumber(const char* name, uint64_t fallback)
{
    const char* text = getenv(name);
    return text != nullptr && *text != '\0' ? strtoull(text, nullptr, 10) : fallback;
}

// Ends the process with the seed and the step when one action runs for a minute, and reports a
// crash the same way.
struct Progress {
    std::atomic<long> step{0};
    std::atomic<DWORD> started{0};
    std::atomic<bool> running{false};
    uint64_t seed = 0;
    char action[200] = "";
};
Progress progress;

void Report(const char* what)
{
    fprintf(stderr, "monkey: %s at step %ld, seed %llu, action: %s\n", what, progress.step.load(),
            static_cast<unsigned long long>(progress.seed), progress.action);
    fflush(stderr);
}

DWORD WINAPI Watchdog(LPVOID)
{
    while (progress.running) {
        Sleep(500);
        if (progress.running && GetTickCount() - progress.started > 60000) {
            Report("no progress for 60 s (hang)");
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
    return 0;
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info)
{
    char what[64];
    snprintf(what, sizeof what, "crash (exception 0x%08lx)", info->ExceptionRecord->ExceptionCode);
    Report(what);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Moves the pointer and releases the button from inside the palette's drag loop, which
// dispatches this window's message.
LRESULT CALLBACK DragHelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        HWND palette = reinterpret_cast<HWND>(lParam);
        SetCursorPos(LOWORD(wParam), HIWORD(wParam));
        PostMessageA(palette, WM_MOUSEMOVE, 0, 0);
        PostMessageA(palette, WM_LBUTTONUP, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class Monkey : public RobustFixture {
protected:
    void SetUp() override
    {
        RobustFixture::SetUp();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DragHelperProc;
        wc.lpszClassName = "VexaroMonkeyDrag";
        RegisterClassA(&wc);
        dragHelper = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        std::string dll = DefaultPluginPath();
        settingsFile = dll.substr(0, dll.size() - 3) + "ini";
    }
    void TearDown() override
    {
        DestroyWindow(dragHelper);
        RobustFixture::TearDown();
    }

    // ---- reading what the user sees ----

    bool PaletteChoiceValid()
    {
        HWND palette = Palette();
        auto ticked = [palette](int id) { return SendDlgItemMessageA(palette, id, BM_GETCHECK, 0, 0) != 0; };
        bool targets = ticked(1003) || ticked(1004) || ticked(1005) || ticked(1006) || ticked(1007);
        bool width = ticked(1012) || ticked(1008);
        return ticked(1011) || ticked(1010) || (targets && width);
    }
    TextPos RandomPos()
    {
        const Document& doc = Host().Edit().Doc();
        int line = rng->Below(doc.LineCount());
        return doc.Clamp({line, rng->Below(doc.LineLength(line) + 1)});
    }
    std::string RandomText(int longPercent, int pieceCount = 12)
    {
        static const char* const pieces[] = {"a", "b", "c", "X", "Y", "z", "0", "7", " ", "-", "!", "ソ", "表", "能",
                                             "あ", "カ", "漢", "Ａ", "ａ", "ｶ", "ﾀ", "ﾞ", "　", "AbC", "abc"};
        int count = rng->Chance(longPercent) ? 150 + rng->Below(500) : 1 + rng->Below(pieceCount);
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += pieces[rng->Below(static_cast<int>(std::size(pieces)))];
            if (rng->Chance(2)) text += "\r\n";
        }
        return text;
    }
    // The same text in the other letter case (single-byte letters; a second byte stays).
    static std::string FlipCase(std::string text)
    {
        for (size_t i = 0; i < text.size(); i += SjisCharLength(&text[i])) {
            char& c = text[i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return text;
    }

    // ---- actions; each returns false when it cannot be done now ----

    // A button pressed with Ctrl held now and then: only the selection capture and the choice
    // of an item look at it.
    void PressButton(int id)
    {
        if (rng->Chance(25)) {
            CtrlHeld held;
            Press(id);
            appendCtrl = true;
        } else {
            Press(id);
        }
    }

    bool Capture()
    {
        if (!model.bandOpen) return false;
        static const int buttons[] = {40002, 40003, 40004, 40008};
        int button = buttons[rng->Below(4)];
        bool ctrl = rng->Chance(30);
        Describe("capture %d%s", button, ctrl ? " with Ctrl" : "");
        bool enabled = Enabled(button);
        std::string before = button == 40004 ? SelectedText() : Host().Edit().Doc().Line(Caret().line);
        if (ctrl) {
            CtrlHeld held;
            Press(button);
        } else {
            Press(button);
        }
        if (!enabled) return true;
        std::string text = button == 40002 || button == 40003 ? SelectedText() : before;
        expectStatus = text.size() > 5000 ? kTruncated : "";
        expectBeeps = text.size() > 5000 ? 1 : 0;
        model.Capture(text, button == 40004 && ctrl);
        return true;
    }
    bool ChooseItem()
    {
        if (!model.bandOpen || model.Visible().empty()) return false;
        int index = rng->Below(static_cast<int>(model.Visible().size()));
        bool ctrl = rng->Chance(20);
        Describe("choose item %d%s", index, ctrl ? " with Ctrl" : "");
        if (model.paletteOpen && !PaletteChoiceValid()) expectBoxes = {kNoOption};
        if (ctrl) {
            CtrlHeld held;
            Choose(index);
        } else {
            Choose(index);
        }
        return true;
    }
    bool DeleteChosen()
    {
        if (!model.bandOpen) return false;
        bool yes = rng->Chance(60);
        Describe("delete the chosen item, answer %s", yes ? "yes" : "no");
        int chosen = static_cast<int>(SendMessageA(Combo(), CB_GETCURSEL, 0, 0));
        bool asks = Enabled(40005) && !model.Visible().empty() && chosen >= 0;
        if (asks) {
            boxes->QueueAnswer(yes ? IDYES : IDNO);
            expectBoxes = {kAskOne};
            if (yes) model.Visible().erase(model.Visible().begin() + chosen);
        }
        PressButton(40005);
        return true;
    }
    bool DeleteAll()
    {
        if (!model.bandOpen) return false;
        bool yes = rng->Chance(50);
        Describe("delete all items, answer %s", yes ? "yes" : "no");
        if (Enabled(40006) && !model.Visible().empty()) {
            boxes->QueueAnswer(yes ? IDYES : IDNO);
            expectBoxes = {kAskAll};
            if (yes) model.Visible().clear();
        }
        PressButton(40006);
        return true;
    }
    bool History()
    {
        if (!model.bandOpen) return false;
        Describe("history button");
        bool enabled = Enabled(40007);
        PressButton(40007);
        if (!enabled) return true;
        if (model.historyView) {
            model.historyView = false;
        } else if (model.history.empty()) {
            expectStatus = kNoHistory;
            expectBeeps = 1;
        } else {
            model.ShowHistory();
            expectStatus = "";
            expectBeeps = 0;
        }
        return true;
    }
    bool Hold()
    {
        if (!model.bandOpen) return false;
        Describe("hold button");
        PressButton(40010);
        return true;
    }
    bool PaletteButton()
    {
        if (!model.bandOpen) return false;
        Describe("palette button");
        PressButton(40011);
        model.paletteOpen = !model.paletteOpen;
        if (!model.paletteOpen) checkSettings = true;
        return true;
    }
    bool PaletteClick()
    {
        if (!model.bandOpen || !model.paletteOpen) return false;
        HWND palette = Palette();
        RECT r = {};
        POINT at;
        int pick = rng->Below(static_cast<int>(std::size(kPaletteControls)) + 3);
        if (pick < static_cast<int>(std::size(kPaletteControls))) {
            // "全て" waits for the button's release (50 ms or more): rarely.
            if (kPaletteControls[pick] == 1009 && !rng->Chance(20)) pick = 0;
            GetWindowRect(GetDlgItem(palette, kPaletteControls[pick]), &r);
            at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        } else {
            GetWindowRect(palette, &r);
            at = {r.left + rng->Below(r.right - r.left), r.top + rng->Below(r.bottom - r.top)};
        }
        bool right = rng->Chance(10);
        Describe("palette %s click at %ld,%ld", right ? "right" : "left", at.x, at.y);
        // A press outside the controls starts a drag: its release is already queued.
        PostMessageA(palette, WM_LBUTTONUP, 0, 0);
        SetCursorPos(at.x, at.y);
        SendMessageA(palette, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Frame()),
                     MAKELPARAM(HTCLIENT, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN));
        PumpPending();
        return true;
    }
    bool PaletteDrag()
    {
        if (!model.bandOpen || !model.paletteOpen) return false;
        HWND palette = Palette();
        RECT r = {};
        GetWindowRect(palette, &r);
        RECT screen = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
        int width = r.right - r.left;
        int height = r.bottom - r.top;
        POINT grab = {r.left + 5 + rng->Below(width - 10), r.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 1};
        POINT to = {screen.left + rng->Below(screen.right - screen.left - width), screen.top + rng->Below(screen.bottom - screen.top - height)};
        to.x += grab.x - r.left;
        to.y += grab.y - r.top;
        Describe("palette drag from %ld,%ld to %ld,%ld", grab.x, grab.y, to.x, to.y);
        PostMessageA(dragHelper, WM_APP, MAKEWPARAM(to.x, to.y), reinterpret_cast<LPARAM>(palette));
        SetCursorPos(grab.x, grab.y);
        SendMessageA(palette, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Frame()), MAKELPARAM(HTCAPTION, WM_LBUTTONDOWN));
        PumpPending();
        RECT after = {};
        GetWindowRect(palette, &after);
        if (after.left != to.x - (grab.x - r.left) || after.top != to.y - (grab.y - r.top))
            failure = "the palette did not end where it was dropped";
        return true;
    }
    bool ClipboardChange()
    {
        int kind = rng->Below(100);
        if (kind < 5) {
            Describe("clipboard: a picture");
            if (!OpenClipboard(Frame())) {
                failure = "the clipboard cannot be opened";
                return true;
            }
            EmptyClipboard();
            SetClipboardData(CF_BITMAP, CreateBitmap(2, 2, 1, 1, nullptr));
            CloseClipboard();
            PumpPending();
            model.clipboard.clear();
            return true;
        }
        std::string text;
        if (kind < 8) {
            text = "";
        } else if (kind < 25 && !model.Visible().empty()) {
            text = FlipCase(model.Visible()[rng->Below(static_cast<int>(model.Visible().size()))]);
        } else if (kind < 35 && !model.history.empty()) {
            text = model.history[rng->Below(static_cast<int>(model.history.size()))];
        } else {
            text = RandomText(8);
        }
        Describe("clipboard: text of %lu bytes %s", static_cast<unsigned long>(text.size()),
                 ::testing::PrintToString(text.substr(0, 30)).c_str());
        CopyText(text);
        model.Record(text);
        return true;
    }
    bool EditorClipboard()
    {
        int kind = rng->Below(3);
        std::string selected = SelectedText();
        Describe("editor %s of %s", kind == 0 ? "copy" : kind == 1 ? "cut" : "paste",
                 ::testing::PrintToString(selected.substr(0, 30)).c_str());
        if (kind == 2 && Text().size() > 30000) return false;
        SendMessageA(Frame(), WM_COMMAND, kind == 0 ? IDM_COPY : kind == 1 ? IDM_CUT : IDM_PASTE, 0);
        PumpPending();
        if (kind < 2 && !selected.empty()) model.Record(selected);
        return true;
    }
    bool Type()
    {
        if (rng->Chance(40)) {
            static const WORD keys[] = {VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END};
            WORD key = keys[rng->Below(static_cast<int>(std::size(keys)))];
            bool shift = rng->Chance(40);
            Describe("key %u%s", key, shift ? " with Shift" : "");
            BYTE state[256];
            GetKeyboardState(state);
            state[VK_SHIFT] = shift ? 0x80 : 0;
            SetKeyboardState(state);
            SendMessageA(View(), WM_KEYDOWN, key, 1);
            state[VK_SHIFT] = 0;
            SetKeyboardState(state);
            return true;
        }
        std::string text = RandomText(0, 4);
        if (rng->Chance(15)) text += "\r";
        Describe("type %lu bytes", static_cast<unsigned long>(text.size()));
        TypeChars(text);
        return true;
    }
    bool SelectInEditor()
    {
        int kind = rng->Below(10);
        if (kind == 0) {
            Describe("select all");
            SendMessageA(Frame(), WM_COMMAND, IDM_SELECT_ALL, 0);
            PumpPending();
        } else if (kind < 5) {
            TextPos at = RandomPos();
            Describe("click at %d,%d", at.line, at.column);
            Click(at, rng->Chance(20));
        } else {
            TextPos from = RandomPos();
            TextPos to = RandomPos();
            Describe("drag %d,%d to %d,%d", from.line, from.column, to.line, to.column);
            Drag(from, to);
        }
        return true;
    }
    bool Tidy()
    {
        if (Text().size() < 30000) return false;
        Describe("replace the long document");
        SendMessageA(Frame(), WM_COMMAND, IDM_SELECT_ALL, 0);
        TypeChars("~\r");
        return true;
    }
    bool Exit()
    {
        if (!model.bandOpen) return false;
        Describe("exit button");
        bool enabled = Enabled(40009);
        PressButton(40009);
        if (!enabled) return true;
        model.bandOpen = false;
        model.historyView = false;
        if (model.paletteOpen) checkSettings = true;
        model.paletteOpen = false;
        return true;
    }
    bool Reopen()
    {
        if (model.bandOpen) return false;
        Describe("run the command");
        RunPluginCommand();
        model.Open();
        return true;
    }
    bool Event800()
    {
        Describe("event 0x800");
        SendEvent(0x800);
        model.Event800();
        return true;
    }

    // ---- checks after every action ----

    std::string Check()
    {
        if (!failure.empty()) return failure;
        if (QueryStatus() != (model.bandOpen ? 0 : 1)) return "QueryStatus does not match the band";
        if ((Toolbar() != nullptr) != model.bandOpen) return "the toolbar does not match the band";
        std::vector<std::string> texts;
        for (const MessageBoxRecord& box : boxes->Boxes()) texts.push_back(box.text);
        if (texts != expectBoxes) return "message boxes: " + Join(texts) + " expected " + Join(expectBoxes);
        if (expectStatus != nullptr && StatusText() != expectStatus) return "status text: " + StatusText();
        if (expectBeeps >= 0 && Beeps() - beepsBefore != expectBeeps) return "beeps: " + std::to_string(Beeps() - beepsBefore);
        if (GetCapture() != nullptr) return "the mouse capture is held";
        std::vector<std::string> damage = guard->Violations();
        if (!damage.empty()) return "written past a heap block: " + damage.front();
        if (!model.bandOpen) {
            std::vector<std::string> left = LeftoverWindows();
            if (!left.empty()) return "a window of the closed band is left: " + left.front();
            if (Palette() != nullptr) return "the palette outlived the band";
        } else {
            std::vector<std::string> items = Items();
            if (items != model.Visible())
                return "the list shows " + Join(items) + " instead of " + Join(model.Visible()) + " history " + Join(model.history);
            if (Checked(40007) != model.historyView) return "the history button does not match the view";
            size_t limit = model.historyView ? 500 : 5000;
            for (const std::string& item : items) {
                if (item.size() > limit) return "an item of " + std::to_string(item.size()) + " bytes";
                if (!EndsOnCharacter(item)) return "an item ends in half a character";
            }
            if (model.historyView && items.size() > 30) return "more than 30 history items";
            if (Checked(40010)) {
                for (int id : kHoldButtons)
                    if (Enabled(id)) return "button " + std::to_string(id) + " usable in the hold";
            }
            if (model.historyView) {
                for (int id : kHistoryButtons)
                    if (Enabled(id)) return "button " + std::to_string(id) + " usable in the history view";
            }
            if ((Palette() != nullptr) != model.paletteOpen) return "the palette does not match its button";
        }
        if (model.history.size() > 30) return "the model kept more than 30 entries";
        if (checkSettings) {
            std::string unreadable = SettingsProblem();
            if (!unreadable.empty()) return unreadable;
        }
        return "";
    }
    // The settings file the palette wrote: every value there is a number, the boxes 0 or 1.
    std::string SettingsProblem()
    {
        if (GetFileAttributesA(settingsFile.c_str()) == INVALID_FILE_ATTRIBUTES) return "no settings file";
        for (int i = -2; i < 9; ++i) {
            std::string key = i == -2 ? "StrConvDlg_Top" : i == -1 ? "StrConvDlg_Left" : "StrConvDlg_ChkVal" + std::to_string(i);
            char text[64] = "";
            if (GetPrivateProfileStringA("AppSetting", key.c_str(), "", text, sizeof text, settingsFile.c_str()) == 0)
                return "settings: " + key + " missing";
            char* end = nullptr;
            long value = strtol(text, &end, 10);
            if (*end != '\0') return "settings: " + key + "=" + text;
            if (i >= 0 && value != 0 && value != 1) return "settings: " + key + "=" + text;
        }
        return "";
    }
    static std::string Join(const std::vector<std::string>& texts)
    {
        std::vector<std::string> shortened;
        for (const std::string& t : texts) shortened.push_back(t.size() > 40 ? t.substr(0, 40) + "..." : t);
        return ::testing::PrintToString(shortened);
    }
    template <typename... Args>
    void Describe(const char* format, Args... args)
    {
        snprintf(progress.action, sizeof progress.action, format, args...);
    }

    // ---- the run ----

    void Run(uint64_t seed, long actions)
    {
        Rng random(seed);
        rng = &random;
        const struct {
            int weight;
            bool (Monkey::*act)();
        } table[] = {
            {22, &Monkey::Capture}, {12, &Monkey::ChooseItem}, {4, &Monkey::DeleteChosen}, {2, &Monkey::DeleteAll},
            {6, &Monkey::History},  {4, &Monkey::Hold},        {3, &Monkey::PaletteButton}, {6, &Monkey::PaletteClick},
            {2, &Monkey::PaletteDrag}, {12, &Monkey::ClipboardChange}, {4, &Monkey::EditorClipboard},
            {8, &Monkey::Type},     {10, &Monkey::SelectInEditor}, {3, &Monkey::Tidy}, {2, &Monkey::Exit},
            {12, &Monkey::Reopen},  {1, &Monkey::Event800},
        };
        int total = 0;
        for (const auto& row : table) total += row.weight;
        std::deque<std::string> trail;
        for (long step = 1; step <= actions; ++step) {
            progress.step = step;
            progress.started = GetTickCount();
            boxes->Clear();
            expectBoxes.clear();
            expectStatus = nullptr;
            expectBeeps = -1;
            beepsBefore = Beeps();
            checkSettings = false;
            failure.clear();
            appendCtrl = false;
            bool done = false;
            while (!done) {
                int pick = random.Below(total);
                for (const auto& row : table) {
                    if (pick < row.weight) {
                        done = (this->*row.act)();
                        break;
                    }
                    pick -= row.weight;
                }
            }
            if (appendCtrl) strncat(progress.action, " with Ctrl", sizeof progress.action - strlen(progress.action) - 1);
            if (trace) printf("%ld: %s\n", step, progress.action);
            trail.push_back(std::to_string(step) + ": " + progress.action);
            if (trail.size() > 15) trail.pop_front();
            std::string problem = Check();
            if (problem.empty() && step % 250 == 0 && !ProcessHeapsValid()) problem = "a heap is damaged";
            if (!problem.empty()) {
                std::string last;
                for (const std::string& line : trail) last += "\n  " + line;
                ADD_FAILURE() << "monkey: " << problem << "\n  at step " << step << " of seed " << seed
                              << " (VEXARO_MONKEY_SEED=" << seed << " VEXARO_MONKEY_ACTIONS=" << step
                              << " repeats it); the last actions:" << last;
                return;
            }
        }
        EXPECT_TRUE(ProcessHeapsValid());
    }

    ClipModel model;
    Rng* rng = nullptr;
    HWND dragHelper = nullptr;
    std::string settingsFile;
    std::string failure;
    std::vector<std::string> expectBoxes;
    const char* expectStatus = nullptr;
    int expectBeeps = -1;
    int beepsBefore = 0;
    bool checkSettings = false;
    bool appendCtrl = false;
    bool trace = EnvNumber("VEXARO_MONKEY_TRACE", 0) != 0;
};

TEST_F(Monkey, RandomUseLosesNothingAndCrashesNothing)
{
    uint64_t seed = EnvNumber("VEXARO_MONKEY_SEED", 20240917);
    long actions = static_cast<long>(EnvNumber("VEXARO_MONKEY_ACTIONS", 1500));
    printf("monkey: seed %llu, %ld actions\n", static_cast<unsigned long long>(seed), actions);
    fflush(stdout);
    progress.seed = seed;
    progress.started = GetTickCount();
    progress.running = true;
    HANDLE watchdog = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(OnCrash);
    DWORD start = GetTickCount();
    Run(seed, actions);
    printf("monkey: %ld actions in %lu ms\n", progress.step.load(), GetTickCount() - start);
    SetUnhandledExceptionFilter(previous);
    progress.running = false;
    WaitForSingleObject(watchdog, 2000);
    CloseHandle(watchdog);
}

} // namespace
