// The host's character conversion, over every operation and target bit.
#include "host/Conversion.h"
#include <gtest/gtest.h>

namespace {

struct ConversionCase {
    const char* input;
    UINT flags;
    const char* expected;
};

const UINT FULL = CONV_FULL_WIDTH;
const UINT HALF = CONV_HALF_WIDTH;

const ConversionCase kCases[] = {
    // Katakana: voiced and semi-voiced marks joined and split again.
    {"ｶﾞｷﾞｸﾞﾊﾟﾋﾟｳﾞｱｲｳﾝｯｬ", FULL | CONV_KATAKANA, "ガギグパピヴアイウンッャ"},
    {"ガギグパピヴアイウンッャ", HALF | CONV_KATAKANA, "ｶﾞｷﾞｸﾞﾊﾟﾋﾟｳﾞｱｲｳﾝｯｬ"},
    {"ｱﾞﾟ", FULL | CONV_KATAKANA, "ア゛゜"},       // marks that join nothing stand alone
    {"ヮヵヶ", HALF | CONV_KATAKANA, "ヮヵヶ"},     // no half-width forms
    // The long vowel mark and the other kana symbols are their own target.
    {"ｺｰﾋｰ", FULL | CONV_KATAKANA, "コｰヒｰ"},
    {"ｺｰﾋｰ", FULL | CONV_KATAKANA | CONV_KANA_SYMBOL, "コーヒー"},
    {"コーヒー", HALF | CONV_KANA_SYMBOL, "コｰヒｰ"},
    {"｡｢｣､･ｰ", FULL | CONV_KANA_SYMBOL, "。「」、・ー"},
    {"。「」、・ー", HALF | CONV_KANA_SYMBOL, "｡｢｣､･ｰ"},
    // Letters and digits.
    {"Ab1 z9", FULL | CONV_ALNUM, "Ａｂ１ ｚ９"},
    {"Ａｂ１　ｚ９", HALF | CONV_ALNUM, "Ab1　z9"},
    // Symbols; the second byte of ソ and 表 is 0x5C, which must not pass for a backslash.
    {"!#$%&()*+,-./:;<=>?@[\\]^_`{|}~\"'", FULL | CONV_ALNUM_SYMBOL,
     "！＃＄％＆（）＊＋，－．／：；＜＝＞？＠［＼］＾＿｀｛｜｝～”’"},
    {"！＃＄％＆（）＊＋，－．／：；＜＝＞？＠［＼］＾＿｀｛｜｝～”’＂＇", HALF | CONV_ALNUM_SYMBOL,
     "!#$%&()*+,-./:;<=>?@[\\]^_`{|}~\"'\"'"},
    {"ソ表\\", FULL | CONV_ALNUM_SYMBOL, "ソ表＼"},
    // Space.
    {"a b", FULL | CONV_SPACE, "a　b"},
    {"a　b", HALF | CONV_SPACE, "a b"},
    // Case: letters of both widths, whatever the target bits.
    {"abcＡＢＣａｂｃXYZ", CONV_UPPER, "ABCＡＢＣＡＢＣXYZ"},
    {"ABCＡＢＣａｂｃxyz", CONV_LOWER, "abcａｂｃａｂｃxyz"},
    {"アイ", CONV_LOWER, "アイ"},  // their second bytes are 'A' and 'C'
    {"ツテ", CONV_UPPER, "ツテ"},  // and these 'c' and 'e'
    // Outside the chosen targets nothing changes; line breaks never do.
    {"ひらがな漢字", FULL | CONV_KATAKANA | CONV_ALNUM | CONV_ALNUM_SYMBOL | CONV_SPACE | CONV_KANA_SYMBOL, "ひらがな漢字"},
    {"ｱA !", FULL | CONV_ALNUM, "ｱＡ !"},
    {"ｱA !", FULL, "ｱA !"},
    {"a\r\nb", FULL | CONV_ALNUM, "ａ\r\nｂ"},
    {"", FULL | CONV_ALNUM, ""},
};

TEST(HostConversion, EveryOperationAndTarget)
{
    for (const ConversionCase& c : kCases) {
        EXPECT_EQ(c.expected, ConvertText(c.input, c.flags)) << "flags " << std::hex << c.flags << ", case #"
                                                             << (&c - kCases);
    }
}

TEST(HostConversion, FullAndHalfWidthAreInverse)
{
    const std::string half = "ｶﾞｷﾞ ﾊﾟﾋﾟﾌﾟ ｳﾞｧｨｩ ｺｰﾋｰ｡ ABC xyz 0129 !?#";
    const UINT all = CONV_KATAKANA | CONV_ALNUM | CONV_ALNUM_SYMBOL | CONV_SPACE | CONV_KANA_SYMBOL;
    std::string full = ConvertText(half, FULL | all);
    EXPECT_EQ("ガギ　パピプ　ヴァィゥ　コーヒー。　ＡＢＣ　ｘｙｚ　０１２９　！？＃", full);
    EXPECT_EQ(half, ConvertText(full, HALF | all));
}

} // namespace
