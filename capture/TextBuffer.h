// A text buffer slot: a pointer that is null or owns one zero-filled heap block.
#pragma once

// n < 1: returns 0, slot untouched. Otherwise frees the slot's block, allocates n + 5 zeroed
// bytes into it and returns 1 (0 with a null slot when out of memory).
int AllocTextBuffer(char** slot, int n);
int FreeTextBuffer(char** slot);
