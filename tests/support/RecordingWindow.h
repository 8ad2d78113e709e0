// Windows that record the messages they get, for tests that check what a module sent where.
#pragma once
#include <windows.h>
#include <vector>

struct ReceivedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Which messages a recording window keeps.
using MessageFilter = bool (*)(UINT message);

// A window that appends the messages `keep` accepts to ReceivedMessages(), in arrival order.
HWND CreateRecordingWindow(MessageFilter keep, const char* title = "", DWORD style = WS_POPUP,
                           HWND parent = nullptr, int width = 1, int height = 1);
// Everything the recording windows of this thread kept; tests clear it between steps.
std::vector<ReceivedMessage>& ReceivedMessages();
