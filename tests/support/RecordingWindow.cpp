#include "support/RecordingWindow.h"

std::vector<ReceivedMessage>& ReceivedMessages()
{
    static std::vector<ReceivedMessage> received;
    return received;
}

static LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto keep = reinterpret_cast<MessageFilter>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (keep != nullptr && keep(message)) ReceivedMessages().push_back({window, message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateRecordingWindow(MessageFilter keep, const char* title, DWORD style, HWND parent, int width, int height)
{
    static const char* const kClass = "VexaroRecordingWindow";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc); // fails harmlessly once registered
    HWND window = CreateWindowExA(0, kClass, title, style, 0, 0, width, height, parent, nullptr, wc.hInstance, nullptr);
    if (window != nullptr) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(keep));
    return window;
}
