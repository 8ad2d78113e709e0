// A place in the document: the line (from 0) and the byte column in that line's CP932 text.
#pragma once

struct TextPos {
    int line = 0;
    int column = 0;
};

inline bool operator==(const TextPos& a, const TextPos& b) { return a.line == b.line && a.column == b.column; }
inline bool operator!=(const TextPos& a, const TextPos& b) { return !(a == b); }
inline bool operator<(const TextPos& a, const TextPos& b)
{
    return a.line != b.line ? a.line < b.line : a.column < b.column;
}
inline bool operator<=(const TextPos& a, const TextPos& b) { return !(b < a); }
