#include "bench/Copier.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

static bool WriteAll(HANDLE pipe, const char* data, DWORD size)
{
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(pipe, data, size, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

static bool ReadAll(HANDLE pipe, char* data, DWORD size)
{
    while (size > 0) {
        DWORD read = 0;
        if (!ReadFile(pipe, data, size, &read, nullptr) || read == 0) return false;
        data += read;
        size -= read;
    }
    return true;
}

static bool ReadLine(HANDLE pipe, std::string& line)
{
    line.clear();
    char c = 0;
    while (ReadAll(pipe, &c, 1)) {
        if (c == '\n') return true;
        line += c;
    }
    return false;
}

bool ClipboardCopier::Start()
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE childIn = nullptr;
    HANDLE childOut = nullptr;
    if (!CreatePipe(&childIn, &toChild, &inherit, 0) || !CreatePipe(&fromChild, &childOut, &inherit, 0)) return false;
    SetHandleInformation(toChild, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromChild, HANDLE_FLAG_INHERIT, 0);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string command = std::string("\"") + path + "\" --copier";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info = {};
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    CloseHandle(childIn);
    CloseHandle(childOut);
    if (!started) return false;
    CloseHandle(info.hThread);
    process = info.hProcess;
    return true;
}

void ClipboardCopier::Stop()
{
    if (toChild != nullptr) CloseHandle(toChild);   // the other side reads the end and leaves
    if (process != nullptr) {
        if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
        CloseHandle(process);
    }
    if (fromChild != nullptr) CloseHandle(fromChild);
    toChild = fromChild = process = nullptr;
}

bool ClipboardCopier::Copy(const std::string& text)
{
    std::string request = std::to_string(text.size()) + "\n" + text;
    std::string answer;
    return toChild != nullptr && WriteAll(toChild, request.data(), static_cast<DWORD>(request.size())) &&
           ReadLine(fromChild, answer) && answer == "1";
}

static bool PutOnClipboard(HWND owner, const std::string& text)
{
    // The band may hold the clipboard open for a moment while it reads the last text.
    for (int attempt = 0; attempt < 100 && !OpenClipboard(owner); ++attempt) Sleep(5);
    if (GetOpenClipboardWindow() != owner) return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block != nullptr) {
        memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
    }
    return CloseClipboard() != 0;
}

int RunCopier()
{
    HWND owner = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    std::string line;
    while (ReadLine(in, line)) {
        std::vector<char> text(static_cast<size_t>(atoi(line.c_str())));
        if (!text.empty() && !ReadAll(in, text.data(), static_cast<DWORD>(text.size()))) break;
        bool ok = PutOnClipboard(owner, std::string(text.begin(), text.end()));
        if (!WriteAll(out, ok ? "1\n" : "0\n", 2)) break;
    }
    DestroyWindow(owner);
    return 0;
}
