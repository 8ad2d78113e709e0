// Seeing and answering the message boxes a module shows.
//  - MessageBoxHook patches the module's import of user32!MessageBoxA: every call is recorded
//    with its exact arguments and answered from a queue, without a window.
//  - RealBoxAnswerer lets the real box appear and presses a button in it through a CBT hook.
//  - BeepCounter counts the module's user32!MessageBeep calls, silenced, the same way.
#pragma once
#include "support/ImportPatch.h"
#include <windows.h>
#include <deque>
#include <string>
#include <vector>

struct MessageBoxRecord {
    HWND owner;
    std::string text;     // code page 932 bytes, as passed
    std::string caption;
    UINT style;
};

class MessageBoxHook {
public:
    explicit MessageBoxHook(HMODULE module);
    ~MessageBoxHook();
    MessageBoxHook(const MessageBoxHook&) = delete;
    MessageBoxHook& operator=(const MessageBoxHook&) = delete;

    bool Installed() const { return patch.Installed(); }
    // Answers for the next boxes, in order. Without a queued answer a box is answered with
    // IDOK, or IDNO when it has Yes and No buttons.
    void QueueAnswer(int answer) { answers.push_back(answer); }
    const std::vector<MessageBoxRecord>& Boxes() const { return boxes; }
    void Clear() { boxes.clear(); answers.clear(); }

private:
    static int WINAPI Replacement(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
    ImportPatch patch;
    MessageBoxHook* previous = nullptr;
    std::vector<MessageBoxRecord> boxes;
    std::deque<int> answers;
};

// Presses `button` (IDOK, IDYES, IDNO, ...) in every message box this thread shows while it lives.
class RealBoxAnswerer {
public:
    explicit RealBoxAnswerer(int button);
    ~RealBoxAnswerer();
    RealBoxAnswerer(const RealBoxAnswerer&) = delete;
    RealBoxAnswerer& operator=(const RealBoxAnswerer&) = delete;

    struct Seen { HWND owner; std::string text; std::string caption; };
    const std::vector<Seen>& Shown() const { return shown; }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Press(HWND window, UINT, UINT_PTR timer, DWORD);
    HHOOK hook = nullptr;
    int button;
    std::vector<Seen> shown;
};

class BeepCounter {
public:
    explicit BeepCounter(HMODULE module);
    ~BeepCounter();
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    bool Installed() const { return patch.Installed(); }
    int Count() const { return count; }

private:
    static BOOL WINAPI Replacement(UINT type);
    ImportPatch patch;
    int count = 0;
};
