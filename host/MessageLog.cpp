#include "host/MessageLog.h"
#include <cstdio>

// Control characters are spelled out so a log line stays one line.
static std::string Quote(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '"') out += "\\\"";
        else out += c;
    }
    return out + "\"";
}

static std::string Pos(const HostPos& pos)
{
    return "(" + std::to_string(pos.column) + "," + std::to_string(pos.line) + ")";
}

std::string DescribeLogEntry(const HostLogEntry& e)
{
    char lParam[32];
    snprintf(lParam, sizeof lParam, "%#llx", static_cast<unsigned long long>(e.lParam));
    std::string line = std::to_string(e.message) + " w=" + std::to_string(e.wParam) + " l=" + lParam;
    if (e.hasRequest) {
        line += " req={cap " + std::to_string(e.request.capacity) + ", mode " + std::to_string(e.request.mode) +
                ", line " + std::to_string(e.request.line) + "}";
    }
    if (e.hasPos) line += " pos=" + Pos(e.before) + "->" + Pos(e.after);
    if (e.hasText) line += " text=" + Quote(e.text);
    return line + " => " + std::to_string(e.result);
}
