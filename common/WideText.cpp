#include "common/WideText.h"
#include <windows.h>

namespace {

// Code page 932 has these under the code points of their Microsoft forms (～ ― ∥ － ￠ ￡ ￢);
// Unicode programs that follow JIS write the others.
struct JisPair {
    wchar_t jis;
    unsigned char cp932[2];
};
const JisPair kJisPairs[] = {
    {0x301C, {0x81, 0x60}}, {0x2014, {0x81, 0x5C}}, {0x2016, {0x81, 0x61}}, {0x2212, {0x81, 0x7C}},
    {0x00A2, {0x81, 0x91}}, {0x00A3, {0x81, 0x92}}, {0x00AC, {0x81, 0xCA}},
};
const unsigned char kGeta[2] = {0x81, 0xAC}; // 〓, the mark Japanese typesetting uses for a missing character

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The code page 932 bytes of one code point of `units` UTF-16 units.
int Convert(const wchar_t* c, int units, unsigned char bytes[2])
{
    if (c[0] < 0x80) {
        bytes[0] = static_cast<unsigned char>(c[0]);
        return 1;
    }
    if (units == 1) {
        for (const JisPair& pair : kJisPairs) {
            if (pair.jis != c[0]) continue;
            bytes[0] = pair.cp932[0];
            bytes[1] = pair.cp932[1];
            return 2;
        }
        if (!IsHighSurrogate(c[0]) && !IsLowSurrogate(c[0])) {
            // No best fit: a character without a form must not come back as a look-alike.
            BOOL missing = FALSE;
            char converted[2];
            int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, c, 1, converted, sizeof converted, nullptr, &missing);
            if (n > 0 && !missing) {
                bytes[0] = static_cast<unsigned char>(converted[0]);
                bytes[1] = static_cast<unsigned char>(converted[n - 1]);
                return n;
            }
        }
    }
    bytes[0] = kGeta[0];
    bytes[1] = kGeta[1];
    return 2;
}

} // namespace

size_t WideToCp932(const wchar_t* text, size_t length, char* out, size_t capacity)
{
    size_t written = 0;
    for (size_t i = 0; i < length && text[i] != L'\0';) {
        int units = IsHighSurrogate(text[i]) && i + 1 < length && IsLowSurrogate(text[i + 1]) ? 2 : 1;
        unsigned char bytes[2];
        int n = Convert(text + i, units, bytes);
        i += static_cast<size_t>(units);
        if (out != nullptr) {
            if (written + static_cast<size_t>(n) > capacity) break;
            for (int k = 0; k < n; ++k) out[written + k] = static_cast<char>(bytes[k]);
        }
        written += static_cast<size_t>(n);
    }
    return written;
}
