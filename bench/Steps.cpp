#include "bench/Steps.h"
#include "bench/Stats.h"
#include <commctrl.h>
#include <cstring>

static ConstructionTrace* tracing = nullptr;
static WNDPROC toolbarProc = nullptr;
static WNDPROC comboProc = nullptr;
static WNDPROC rebarOriginal = nullptr;

static LRESULT CALLBACK ToolbarWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TB_GETSTYLE && tracing != nullptr) tracing->Note(ConstructionTrace::kStyle);
    return CallWindowProcA(toolbarProc, window, message, wParam, lParam);
}

static LRESULT CALLBACK ComboWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcA(comboProc, window, message, wParam, lParam);
    // The last height set ends the combo box's step.
    if (message == CB_SETITEMHEIGHT && tracing != nullptr) tracing->Note(ConstructionTrace::kComboDone, true);
    return result;
}

static LRESULT CALLBACK RebarWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == RB_INSERTBANDA || message == RB_INSERTBANDW) && tracing != nullptr) tracing->Note(ConstructionTrace::kInsert);
    LRESULT result = CallWindowProcA(rebarOriginal, window, message, wParam, lParam);
    if (tracing != nullptr) {
        if (message == RB_SETBARINFO) tracing->Note(ConstructionTrace::kImageDone, true);
        if (message == RB_INSERTBANDA || message == RB_INSERTBANDW) tracing->Note(ConstructionTrace::kInsertDone, true);
    }
    return result;
}

static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && tracing != nullptr) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        // The window's own procedure is in place but has had no message yet: a subclass made now
        // sees all of them.
        if (strcmp(name, "#32770") == 0) {
            tracing->Note(ConstructionTrace::kDialog);
        } else if (strcmp(name, TOOLBARCLASSNAMEA) == 0) {
            tracing->Note(ConstructionTrace::kToolbar);
            toolbarProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ToolbarWatch)));
        } else if (strcmp(name, TOOLTIPS_CLASSA) == 0) {
            tracing->Note(ConstructionTrace::kTip);
        } else if (lstrcmpiA(name, "ComboBox") == 0) {
            tracing->Note(ConstructionTrace::kCombo);
            comboProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComboWatch)));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

ConstructionTrace::ConstructionTrace(HWND rebarWindow) : rebar(rebarWindow)
{
    for (double& mark : marks) mark = -1;
}

ConstructionTrace::~ConstructionTrace()
{
    BandSteps ignored;
    Stop(ignored);
}

void ConstructionTrace::Start()
{
    for (double& mark : marks) mark = -1;
    tracing = this;
    rebarOriginal = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(rebar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RebarWatch)));
    hook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    clock.Restart();
}

void ConstructionTrace::Note(Mark mark, bool last)
{
    if (marks[mark] < 0 || last) marks[mark] = clock.ElapsedMs();
}

bool ConstructionTrace::Stop(BandSteps& s)
{
    if (tracing != this) return false;
    double end = clock.ElapsedMs();
    UnhookWindowsHookEx(hook);
    SetWindowLongPtrA(rebar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(rebarOriginal));
    tracing = nullptr;
    for (double mark : marks) {
        if (mark < 0) return false;
    }
    s.before = marks[kDialog];
    s.dialog = marks[kToolbar] - marks[kDialog];
    s.toolbar = marks[kTip] - marks[kToolbar];
    s.tips = marks[kStyle] - marks[kTip];
    s.styling = marks[kCombo] - marks[kStyle];
    s.combo = marks[kComboDone] - marks[kCombo];
    s.image = marks[kImageDone] - marks[kComboDone];
    s.insert = marks[kInsertDone] - marks[kImageDone];
    s.rest = end - marks[kInsertDone];
    return true;
}
