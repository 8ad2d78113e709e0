// The conversion palette opened from the clip bar and used with real mouse input, each test with
// a settings file of its own.
#pragma once
#include "e2e/ClipBarFixture.h"
#include "support/Pump.h"
#include <windows.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The palette's check boxes in the order the settings file numbers them.
const int kPaletteBoxes[9] = {1003, 1004, 1005, 1006, 1007, 1012, 1008, 1011, 1010};

// Notes every WM_NCACTIVATE with TRUE (a caption to be drawn active) posted on this thread while
// it lives.
class ActiveCaptions {
public:
    ActiveCaptions() : hook(SetWindowsHookExA(WH_GETMESSAGE, Seen, nullptr, GetCurrentThreadId())) { current = this; }
    ~ActiveCaptions() { UnhookWindowsHookEx(hook); current = nullptr; }
    ActiveCaptions(const ActiveCaptions&) = delete;
    ActiveCaptions& operator=(const ActiveCaptions&) = delete;
    int For(HWND window) const { return static_cast<int>(std::count(windows.begin(), windows.end(), window)); }

private:
    static LRESULT CALLBACK Seen(int code, WPARAM removed, LPARAM lParam)
    {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && removed == PM_REMOVE && msg->message == WM_NCACTIVATE && msg->wParam == TRUE)
            current->windows.push_back(msg->hwnd);
        return CallNextHookEx(nullptr, code, removed, lParam);
    }
    static inline ActiveCaptions* current = nullptr;
    HHOOK hook;
    std::vector<HWND> windows;
};

class PaletteFixture : public ClipBarFixture {
protected:
    void SetUp() override
    {
        std::string dll = DefaultPluginPath();
        iniPath = dll.substr(0, dll.size() - 3) + "ini";
        std::ifstream old(iniPath, std::ios::binary);
        hadIni = old.good();
        if (hadIni) savedIni.assign(std::istreambuf_iterator<char>(old), std::istreambuf_iterator<char>());
        old.close();
        RemoveSettings();
        ClipBarFixture::SetUp();
    }
    void TearDown() override
    {
        ClipBarFixture::TearDown();  // an open palette writes its settings as it closes
        RemoveSettings();
        if (hadIni) std::ofstream(iniPath, std::ios::binary) << savedIni;
    }
    // A fresh installation: no settings file.
    void RemoveSettings() { DeleteFileA(iniPath.c_str()); }
    void WriteSetting(const std::string& key, const std::string& value)
    {
        WritePrivateProfileStringA("AppSetting", key.c_str(), value.c_str(), iniPath.c_str());
    }
    void WriteStates(const std::string& states)
    {
        for (int i = 0; i < 9; ++i) WriteSetting("StrConvDlg_ChkVal" + std::to_string(i), states.substr(i, 1));
    }
    std::string ReadSetting(const std::string& key)
    {
        char value[64] = "";
        GetPrivateProfileStringA("AppSetting", key.c_str(), "-", value, sizeof value, iniPath.c_str());
        return value;
    }
    // The nine stored states, in settings order ("-" for a missing key).
    std::string StoredStates()
    {
        std::string states;
        for (int i = 0; i < 9; ++i) states += ReadSetting("StrConvDlg_ChkVal" + std::to_string(i));
        return states;
    }

    HWND OpenPalette()
    {
        Press(40011);
        return Palette();
    }
    HWND Box(int id) { return GetDlgItem(Palette(), id); }
    // The nine check states as "0"/"1", in settings order.
    std::string States()
    {
        std::string states;
        for (int id : kPaletteBoxes) states += SendMessageA(Box(id), BM_GETCHECK, 0, 0) != 0 ? '1' : '0';
        return states;
    }
    // "targets": the five targets and "全て" shown, "英字のみ" hidden; "letters": the reverse.
    std::string Layout()
    {
        int shown = 0;
        for (int id : {1003, 1004, 1005, 1006, 1007, 1009}) shown += IsWindowVisible(Box(id)) ? 1 : 0;
        bool label = IsWindowVisible(Box(1013)) != FALSE;
        if (shown == 6 && !label) return "targets";
        if (shown == 0 && label) return "letters";
        return std::to_string(shown) + " targets shown, label " + (label ? "shown" : "hidden");
    }
    static RECT WindowRect(HWND window)
    {
        RECT r = {};
        GetWindowRect(window, &r);
        return r;
    }
    static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    // Puts the pointer there and waits until the system reports it there.
    static bool MovePointer(POINT at)
    {
        SetCursorPos(at.x, at.y);
        return PumpUntil([at] {
            POINT p;
            GetCursorPos(&p);
            return p.x == at.x && p.y == at.y;
        }, 2000);
    }
    static void SendButton(DWORD flags, DWORD data = 0)
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        input.mi.mouseData = data;
        SendInput(1, &input, sizeof input);
    }
    // Handles the input already queued: a click has had its whole effect afterwards.
    static void Settle()
    {
        PumpUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; }, 2000);
        PumpPending();
    }
    // A real click through the system's input: the pointer moved there, a press and a release.
    void ClickAt(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP, DWORD data = 0)
    {
        ASSERT_TRUE(MovePointer(at));
        SendButton(down, data);
        SendButton(up, data);
        Settle();
    }
    void ClickBoxes(const std::vector<int>& ids)
    {
        for (int id : ids) ClickAt(Centre(WindowRect(Box(id))));
    }
    // The user clicks into the document: the editor is active and the view has the focus.
    void ClickDocument()
    {
        ClickAt(Centre(WindowRect(View())));
        ASSERT_EQ(View(), GetFocus());
    }

private:
    std::string iniPath;
    bool hadIni = false;
    std::string savedIni;
};
