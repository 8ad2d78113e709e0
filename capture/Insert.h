// Inserting the chosen clip list item at the caret, converted as the palette says.
#pragma once
#include <windows.h>

// Target bits and width codes of the conversion flag word sent with HOSTMSG_CONVERT_SELECTION.
enum ConvertFlags : UINT {
    CONVERT_KATAKANA     = 0x0400,
    CONVERT_ALNUM        = 0x0800,
    CONVERT_ALNUM_SYMBOL = 0x1000,
    CONVERT_SPACE        = 0x2000,
    CONVERT_KANA_SYMBOL  = 0x4000,
    CONVERT_FULL_WIDTH   = 2,
    CONVERT_HALF_WIDTH   = 3,
};
// The second conversion, when a case box is ticked.
enum caseCode : int { CASE_NOT_SET = -1, CASE_LOWER = 0, CASE_UPPER = 1 };

int InsertChosenItem();
// One press and release of a key, injected into the system's input stream.
void TapKey(BYTE virtualKey);
