// Another program that puts texts on the clipboard: a second copy of the benchmark started with
// --copier. The band hears of its copies as it hears of any program's. (Under Wine, reading
// clipboard data that this same process put there leaves 1 KB behind per read, which would
// swamp the plug-in's own memory figures.)
#pragma once
#include <windows.h>
#include <string>

class ClipboardCopier {
public:
    ClipboardCopier() = default;
    ~ClipboardCopier() { Stop(); }
    ClipboardCopier(const ClipboardCopier&) = delete;
    ClipboardCopier& operator=(const ClipboardCopier&) = delete;

    bool Start();
    void Stop();
    // Returns once the other program has put `text` on the clipboard and closed it.
    bool Copy(const std::string& text);

private:
    HANDLE process = nullptr;
    HANDLE toChild = nullptr;
    HANDLE fromChild = nullptr;
};

// The --copier side: reads "<length>\n<bytes>" requests from stdin, copies each, answers "1".
int RunCopier();
