// Unicode text the platform hands over (the clipboard), converted to code page 932 here rather
// than by the system: the system converts with the copying program's keyboard layout, maps the
// JIS forms of a few marks to "?", and fills in look-alikes or "?" for what code page 932 lacks.
#pragma once
#include <cstddef>

// Converts the first `length` UTF-16 units of `text` (up to a terminating zero) to code page 932.
// The JIS forms of 〜 — ‖ − ¢ £ ¬ become their code page 932 forms; every other character code
// page 932 has no form for becomes one 〓 (81AC) per code point, never "?" or a look-alike.
// Writes whole characters only, at most `capacity` bytes, and returns the bytes written; with
// `out` null it only counts the bytes of the whole text.
size_t WideToCp932(const wchar_t* text, size_t length, char* out, size_t capacity);
