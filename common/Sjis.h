// Code page 932 (Shift_JIS) byte scanning. The second byte of a double-byte character can be
// any of 0x40-0xFC, among them '\\' (0x5C), so texts are always walked character by character.
#pragma once
#include <cstddef>

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
bool SjisIsLeadByte(unsigned char c);
// True for a byte that can follow a lead byte as its second byte (0x40-0x7E, 0x80-0xFC).
bool SjisIsTrailByte(unsigned char c);
// Byte length of the character starting at s (1 or 2; 1 for a lead byte before the end).
size_t SjisCharLength(const char* s);
// The first / last single-byte character ch in s, never the second half of a double-byte one.
const char* SjisFindFirst(const char* s, char ch);
const char* SjisFindLast(const char* s, char ch);
// The largest n <= limit such that the first n bytes of the len-byte text s do not end with
// half of a double-byte character.
size_t SjisCutLength(const char* s, size_t len, size_t limit);
