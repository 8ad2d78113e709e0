#include "demo/TourInput.h"

void Pump(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void AddPress(std::vector<INPUT>& inputs, std::initializer_list<WORD> modifiers, WORD key)
{
    for (WORD m : modifiers) inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto m = modifiers.end(); m != modifiers.begin();) inputs.push_back(KeyInput(*--m, true));
}

void Press(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump(100);
}

void Press(std::initializer_list<WORD> modifiers, WORD key)
{
    std::vector<INPUT> inputs;
    AddPress(inputs, modifiers, key);
    Press(inputs);
}

void Type(const std::string& cp932)
{
    int wide = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    std::wstring w(wide, L'\0');
    MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), &w[0], wide);
    for (wchar_t c : w) {
        INPUT inputs[2] = {};
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = static_cast<WORD>(c);
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, inputs, sizeof(INPUT));
        Pump(20);
    }
    Pump(100);
}

INPUT MouseInput(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

void HoverAt(POINT screen)
{
    // Through the input queue, so the window under the mouse sees it move there.
    SetCursorPos(screen.x, screen.y);
    INPUT move = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    move.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    SendInput(1, &move, sizeof(INPUT));
    Pump(50);
}

void ClickAt(POINT screen, std::initializer_list<WORD> modifiers)
{
    SetCursorPos(screen.x, screen.y);
    Pump(50);
    std::vector<INPUT> inputs;
    for (WORD m : modifiers) inputs.push_back(KeyInput(m, false));
    inputs.push_back(MouseInput(MOUSEEVENTF_LEFTDOWN));
    inputs.push_back(MouseInput(MOUSEEVENTF_LEFTUP));
    for (auto m = modifiers.end(); m != modifiers.begin();) inputs.push_back(KeyInput(*--m, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump(200);
}

struct DragPath {
    POINT from;
    POINT to;
};

// The hand that moves and lets go runs on its own thread: a drag loop started by the press runs
// inside this thread's message handling and only ends when the button comes up.
static DWORD WINAPI MoveAndRelease(void* param)
{
    const DragPath* path = static_cast<const DragPath*>(param);
    Sleep(200);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        SetCursorPos(path->from.x + (path->to.x - path->from.x) * i / steps,
                     path->from.y + (path->to.y - path->from.y) * i / steps);
        Sleep(40);
    }
    INPUT up = MouseInput(MOUSEEVENTF_LEFTUP);
    SendInput(1, &up, sizeof(INPUT));
    return 0;
}

void DragOnScreen(POINT from, POINT to)
{
    SetCursorPos(from.x, from.y);
    Pump(50);
    DragPath path = {from, to};
    HANDLE hand = CreateThread(nullptr, 0, MoveAndRelease, &path, 0, nullptr);
    INPUT down = MouseInput(MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &down, sizeof(INPUT));
    if (hand == nullptr) {
        INPUT up = MouseInput(MOUSEEVENTF_LEFTUP);
        SendInput(1, &up, sizeof(INPUT));
    }
    DWORD start = GetTickCount();
    while (hand != nullptr && WaitForSingleObject(hand, 0) == WAIT_TIMEOUT && GetTickCount() - start < 5000) Pump(20);
    if (hand != nullptr) {
        WaitForSingleObject(hand, 5000);
        CloseHandle(hand);
    }
    Pump(200);
}

POINT CentreOf(HWND window, RECT client)
{
    POINT p = {(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ClientToScreen(window, &p);
    return p;
}

POINT CentreOf(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    return CentreOf(window, r);
}
