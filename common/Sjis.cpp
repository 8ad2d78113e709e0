#include "common/Sjis.h"

bool SjisIsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool SjisIsTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

size_t SjisCharLength(const char* s)
{
    return SjisIsLeadByte(static_cast<unsigned char>(s[0])) && s[1] != '\0' ? 2 : 1;
}

const char* SjisFindFirst(const char* s, char ch)
{
    for (; *s != '\0'; s += SjisCharLength(s)) {
        if (*s == ch) return s;
    }
    return nullptr;
}

const char* SjisFindLast(const char* s, char ch)
{
    const char* found = nullptr;
    for (; *s != '\0'; s += SjisCharLength(s)) {
        if (*s == ch) found = s;
    }
    return found;
}

size_t SjisCutLength(const char* s, size_t len, size_t limit)
{
    if (len <= limit) return len;
    size_t i = 0;
    while (i < limit) {
        size_t step = SjisIsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < len ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}
