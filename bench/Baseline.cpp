#include "bench/Baseline.h"
#include "bench/Stats.h"
#include <commctrl.h>

static const DWORD kClipListStyle = 0x56210143;

BareCombo::BareCombo()
{
    owner = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 600, 600, 60, nullptr, nullptr, nullptr, nullptr);
    combo = CreateWindowExA(0, "combobox", nullptr, kClipListStyle, 270, 3, 200, 400, owner,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(1001)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    SendMessageA(combo, CB_SETITEMHEIGHT, 0, 17);
}

BareCombo::~BareCombo()
{
    DestroyWindow(owner);
}

double BareCombo::Fill(const std::vector<std::string>& texts)
{
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    Stopwatch watch;
    SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
    for (const std::string& text : texts) SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
    return watch.ElapsedMs();
}

int BareCombo::Count() const
{
    return static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
}

double WindowWorkMs()
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 700, 600, 60, nullptr, nullptr, nullptr, nullptr);
    std::vector<double> samples;
    for (int i = 0; i < 7; ++i) {
        Stopwatch watch;
        HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 600, 30, parent, nullptr, nullptr, nullptr);
        CreateWindowExA(0, "combobox", nullptr, kClipListStyle, 270, 3, 200, 400, toolbar, nullptr, nullptr, nullptr);
        HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, "", TTS_ALWAYSTIP, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
        DestroyWindow(toolbar);
        DestroyWindow(tip);
        samples.push_back(watch.ElapsedMs());
    }
    DestroyWindow(parent);
    return Summarize(samples).median;
}
