// Character conversion of a CP932 text, as the plug-in asks for with its conversion flag word.
// The low two bits choose the operation; for the two width operations the target bits choose
// which kinds of characters change. Line breaks and everything outside the targets stay as
// they are.
#pragma once
#include <windows.h>
#include <string>

enum ConversionCode : UINT {
    CONV_LOWER = 0,      // letters, half and full width, to lower case
    CONV_UPPER = 1,      // letters, half and full width, to upper case
    CONV_FULL_WIDTH = 2,
    CONV_HALF_WIDTH = 3,
    CONV_OPERATION_MASK = 3,
};

enum ConversionTarget : UINT {
    CONV_KATAKANA = 0x0400,      // ｶﾞ <-> ガ, voiced and semi-voiced marks joined or split
    CONV_ALNUM = 0x0800,         // letters and digits
    CONV_ALNUM_SYMBOL = 0x1000,  // ASCII symbols
    CONV_SPACE = 0x2000,
    CONV_KANA_SYMBOL = 0x4000,   // 。「」、・ー
};

std::string ConvertText(const std::string& text, UINT flags);
