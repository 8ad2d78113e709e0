// The record of every host message the editor received, in order, with what it carried decoded
// at the time of the call.
#pragma once
#include <windows.h>
#include "host/HostProtocol.h"
#include <string>
#include <vector>

struct HostLogEntry {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND receiver = nullptr;   // the window the sender addressed (the view or the frame)
    LRESULT result = 0;
    bool hasText = false;      // 2080 / 2085: the text handed in; 2051 / 2053: the text copied out
    std::string text;
    bool hasPos = false;       // 2054 / 2062 / 2074 / 2075: the record before and after; 2081: from / to
    HostPos before = {0, 0};
    HostPos after = {0, 0};
    bool hasRequest = false;   // 2053
    HostLineRequest request = {0, 0, 0};
};

class MessageLog {
public:
    void Add(const HostLogEntry& entry) { entries.push_back(entry); }
    void Clear() { entries.clear(); }
    const std::vector<HostLogEntry>& Entries() const { return entries; }
    HostLogEntry& At(size_t index) { return entries[index]; }

private:
    std::vector<HostLogEntry> entries;
};

// One line describing the entry, e.g. "2080 w=0 l=... text=\"abc\"" (texts stay CP932).
std::string DescribeLogEntry(const HostLogEntry& entry);
