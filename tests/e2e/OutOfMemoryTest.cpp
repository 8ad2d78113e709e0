// Memory running out in the plug-in, during every user command: each allocation the plug-in makes
// for the command fails in turn, one per run, alone or with every allocation after it. A run must
// end without a crash (a C++ exception in a window procedure would end the editor), with silence
// or one of the plug-in's own failure texts, and with every item the user had kept still in the
// list.
#include "e2e/RobustFixture.h"
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Makes the allocation `skip` allocations from now fail (and, when `onward`, every later one),
// whether the module asks its C runtime (operator new ends there) or the process heap; -1 disarms.
class FailingAllocator {
public:
    explicit FailingAllocator(HMODULE module)
        : heapAlloc(module, "kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(&HeapAllocHook)),
          malloc_(module, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&MallocHook)),
          calloc_(module, "msvcrt.dll", "calloc", reinterpret_cast<void*>(&CallocHook)),
          realloc_(module, "msvcrt.dll", "realloc", reinterpret_cast<void*>(&ReallocHook))
    {
        self = this;
    }
    ~FailingAllocator() { self = nullptr; }
    bool Installed() const { return heapAlloc.Installed() && malloc_.Installed(); }
    void FailAfter(int skip, bool onward = false)
    {
        countdown = skip;
        failOnward = onward;
        fired = false;
    }
    bool Fired() const { return fired; }

private:
    static bool Fail()
    {
        if (self == nullptr || self->countdown < 0) return false;
        if (self->countdown > 0) {
            --self->countdown;
            return false;
        }
        if (!self->failOnward) self->countdown = -1;
        self->fired = true;
        return true;
    }
    static LPVOID WINAPI HeapAllocHook(HANDLE heap, DWORD flags, SIZE_T size)
    {
        return Fail() ? nullptr : reinterpret_cast<decltype(&HeapAlloc)>(self->heapAlloc.Original())(heap, flags, size);
    }
    static void* __cdecl MallocHook(size_t size)
    {
        return Fail() ? nullptr : reinterpret_cast<decltype(&malloc)>(self->malloc_.Original())(size);
    }
    static void* __cdecl CallocHook(size_t count, size_t size)
    {
        return Fail() ? nullptr : reinterpret_cast<decltype(&calloc)>(self->calloc_.Original())(count, size);
    }
    static void* __cdecl ReallocHook(void* block, size_t size)
    {
        return Fail() ? nullptr : reinterpret_cast<decltype(&realloc)>(self->realloc_.Original())(block, size);
    }

    static inline FailingAllocator* self = nullptr;
    ImportPatch heapAlloc, malloc_, calloc_, realloc_;
    int countdown = -1;
    bool failOnward = false;
    bool fired = false;
};

enum class Start { Normal, History, Palette, Closed };
enum class Act { Button, Choose, Copy, OpenBand, Event800 };

struct Command {
    const char* what;
    Start start;
    Act act;
    int button;  // the button pressed, or the item chosen
    bool ctrl;
    int floor;   // failure points it must reach, alone and onward: fewer means allocations went uncaught
};

const Command kCommands[] = {
    {"40002", Start::Normal, Act::Button, 40002, false, 2}, {"40002 Ctrl", Start::Normal, Act::Button, 40002, true, 2},
    {"40003", Start::Normal, Act::Button, 40003, false, 2}, {"40003 Ctrl", Start::Normal, Act::Button, 40003, true, 2},
    {"40004", Start::Normal, Act::Button, 40004, false, 2}, {"40004 Ctrl", Start::Normal, Act::Button, 40004, true, 32},
    {"40005", Start::Normal, Act::Button, 40005, false, 0}, {"40005 Ctrl", Start::Normal, Act::Button, 40005, true, 0},
    {"40006", Start::Normal, Act::Button, 40006, false, 0}, {"40006 Ctrl", Start::Normal, Act::Button, 40006, true, 0},
    {"40007 on", Start::Normal, Act::Button, 40007, false, 32}, {"40007 on Ctrl", Start::Normal, Act::Button, 40007, true, 32},
    {"40007 off", Start::History, Act::Button, 40007, false, 2}, {"40007 off Ctrl", Start::History, Act::Button, 40007, true, 2},
    {"40008", Start::Normal, Act::Button, 40008, false, 2}, {"40008 Ctrl", Start::Normal, Act::Button, 40008, true, 2},
    {"40009", Start::Normal, Act::Button, 40009, false, 16}, {"40009 Ctrl", Start::Normal, Act::Button, 40009, true, 16},
    {"40010", Start::Normal, Act::Button, 40010, false, 0}, {"40010 Ctrl", Start::Normal, Act::Button, 40010, true, 0},
    {"40011 open", Start::Normal, Act::Button, 40011, false, 2}, {"40011 open Ctrl", Start::Normal, Act::Button, 40011, true, 2},
    {"40011 close", Start::Palette, Act::Button, 40011, false, 0}, {"40011 close Ctrl", Start::Palette, Act::Button, 40011, true, 0},
    {"choose", Start::Normal, Act::Choose, 1, false, 2}, {"choose Ctrl", Start::Normal, Act::Choose, 1, true, 2},
    {"choose with the palette", Start::Palette, Act::Choose, 1, false, 2},
    {"clipboard change", Start::Normal, Act::Copy, 0, false, 4},
    {"clipboard change in the history view", Start::History, Act::Copy, 0, false, 4},
    {"open the band", Start::Closed, Act::OpenBand, 0, false, 6},
    {"event 0x800", Start::Normal, Act::Event800, 0, false, 0},
};

const std::vector<std::string> kSaved = {"abc", "kept", "カタカナ"};
const std::vector<std::string> kKept = {"new", "abc", "kept", "カタカナ"};

// Where a run that ends the process ended.
char running[160] = "";

void OnAbort(int)
{
    fprintf(stderr, "out of memory: the process ends (terminate) in %s\n", running);
    fflush(stderr);
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info)
{
    // Errors only: debug output and the runtime's own exceptions (caught where they are thrown)
    // pass here too.
    if ((info->ExceptionRecord->ExceptionCode & 0xF0000000u) != 0xC0000000u) return EXCEPTION_CONTINUE_SEARCH;
    fprintf(stderr, "out of memory: exception 0x%08lx in %s\n", info->ExceptionRecord->ExceptionCode, running);
    fflush(stderr);
    return EXCEPTION_CONTINUE_SEARCH;
}

bool EndsAsFailureText(const std::string& text)
{
    static const std::string tail = "！！";
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class OutOfMemory : public RobustFixture {
protected:
    void SetUp() override
    {
        RobustFixture::SetUp();
        allocator = std::make_unique<FailingAllocator>(Module());
        ASSERT_TRUE(allocator->Installed());
        ResetHistory();
    }
    void TearDown() override
    {
        allocator.reset();
        RobustFixture::TearDown();
    }
    void ResetHistory()
    {
        SendEvent(0x800);
        CopyText("h1");
        CopyText("h2");
    }
    // The band open in its normal mode: savedItems holding kSaved, the list that and one item
    // captured since, on top and chosen.
    void Restore()
    {
        if (Toolbar() == nullptr) OpenClipBar();
        if (Checked(40010)) Press(40010);
        if (Checked(40007)) Press(40007);
        if (Checked(40011)) Press(40011);
        SendMessageA(Combo(), CB_RESETCONTENT, 0, 0);
        for (const std::string& item : kSaved) SendMessageA(Combo(), CB_INSERTSTRING, -1, reinterpret_cast<LPARAM>(item.c_str()));
        // Into savedItems and back: the history view and out of it.
        Press(40007);
        Press(40007);
        ASSERT_EQ(kSaved, Items());
        SendMessageA(Combo(), CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(kKept[0].c_str()));
        SendMessageA(Combo(), CB_SETCURSEL, 0, 0);
        if (Text() != document) SetText(document);
        Select({0, 0}, {1, 3});
        boxes->Clear();
    }
    void Begin(const Command& c)
    {
        if (c.start == Start::History) Press(40007);
        if (c.start == Start::Closed) Press(40009);
        if (c.start == Start::Palette) {
            Press(40011);
            SendDlgItemMessageA(Palette(), 1003, BM_SETCHECK, BST_CHECKED, 0);
            SendDlgItemMessageA(Palette(), 1012, BM_SETCHECK, BST_CHECKED, 0);
        }
        if (c.button == 40005 || c.button == 40006) boxes->QueueAnswer(IDYES);
    }
    void Run(const Command& c)
    {
        std::optional<CtrlHeld> ctrl;
        if (c.ctrl) ctrl.emplace();
        switch (c.act) {
        case Act::Button: Press(c.button); break;
        case Act::Choose: Choose(c.button); break;
        case Act::Copy: CopyText("copied"); break;
        case Act::OpenBand: OpenClipBar(); break;
        case Act::Event800: SendEvent(0x800); break;
        }
    }
    // What the run showed: silence, or the plug-in's failure texts and its two questions.
    std::string Shown()
    {
        std::string wrong;
        for (const MessageBoxRecord& box : boxes->Boxes()) {
            if (!EndsAsFailureText(box.text) && box.text != "全ての項目を削除してもよろしいですか？" &&
                box.text != "選択項目を削除してもよろしいですか？")
                wrong += " box [" + box.text + "]";
        }
        if (!StatusText().empty() && !EndsAsFailureText(StatusText())) wrong += " status [" + StatusText() + "]";
        return wrong;
    }
    // The kept items the list no longer holds, back in the normal view of an open band. The two
    // deletions may take what the user said yes to. A band closed with no memory at all cannot
    // copy out the item captured since the last backup; the items saved before stay.
    std::string Lost(const Command& c, bool onward)
    {
        if (Toolbar() == nullptr) OpenClipBar();
        if (Checked(40010)) Press(40010);
        if (Checked(40007)) Press(40007);
        if (c.button == 40006) return "";
        std::vector<std::string> items = Items();
        std::string lost;
        for (size_t i = 0; i < kKept.size(); ++i) {
            bool listOnly = i == 0;
            if (listOnly && (c.button == 40005 || (c.button == 40009 && onward))) continue;
            if (std::find(items.begin(), items.end(), kKept[i]) == items.end()) lost += " [" + kKept[i] + "]";
        }
        return lost;
    }

    std::unique_ptr<FailingAllocator> allocator;
    const std::string document = "abc\r\nDef ghi\r\n\r\nカタカナ";
};

TEST_F(OutOfMemory, EveryAllocationOfEveryCommandFailsInTurnWithoutACrashOrALostItem)
{
    signal(SIGABRT, OnAbort);
    PVOID crashHandler = AddVectoredExceptionHandler(1, OnCrash);
    int points = 0;
    for (const Command& c : kCommands) {
        int commandPoints = 0;
        for (bool onward : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (onward ? ", every allocation from the failing one" : ""));
            for (int n = 0;; ++n) {
                ASSERT_LT(n, 1000) << "a command that never runs out of allocations";
                ASSERT_NO_FATAL_FAILURE(Restore());
                Begin(c);
                snprintf(running, sizeof running, "%s, allocation %d%s failing", c.what, n, onward ? " on" : "");
                allocator->FailAfter(n, onward);
                Run(c);
                bool fired = allocator->Fired();
                allocator->FailAfter(-1);
                PumpPending();
                EXPECT_EQ("", Shown()) << "allocation " << n;
                EXPECT_EQ("", Lost(c, onward)) << "allocation " << n;
                if (!fired) break;
                ++commandPoints;
            }
            if (c.act == Act::Copy || c.act == Act::Event800) ResetHistory();
        }
        printf("out of memory: %s: %d failure points\n", c.what, commandPoints);
        EXPECT_GE(commandPoints, c.floor) << c.what;
        points += commandPoints;
    }
    RemoveVectoredExceptionHandler(crashHandler);
    signal(SIGABRT, SIG_DFL);
    printf("out of memory: %zu commands, each alone and onward, %d failure points tried\n", std::size(kCommands), points);
    RecordProperty("failure_points", points);
    EXPECT_GE(points, 150);
}

} // namespace
