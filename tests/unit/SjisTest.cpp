// Lead-byte aware scanning of code page 932 texts.
#include <gtest/gtest.h>
#include "common/Sjis.h"

TEST(Sjis, SecondBytesAreNeverBackslashesAndCutsKeepWholeCharacters)
{
    const char path[] = "C:\\ソ\\表";   // ソ is 0x83 0x5C, 表 is 0x95 0x5C
    ASSERT_EQ(0x5C, static_cast<unsigned char>(path[4]));
    EXPECT_TRUE(SjisIsLeadByte(0x81) && SjisIsLeadByte(0x9F) && SjisIsLeadByte(0xE0) && SjisIsLeadByte(0xFC));
    EXPECT_FALSE(SjisIsLeadByte(0x80) || SjisIsLeadByte(0xA0) || SjisIsLeadByte(0xDF) || SjisIsLeadByte(0xFD));
    EXPECT_TRUE(SjisIsTrailByte(0x40) && SjisIsTrailByte(0x5C) && SjisIsTrailByte(0x7E) && SjisIsTrailByte(0x80) && SjisIsTrailByte(0xFC));
    EXPECT_FALSE(SjisIsTrailByte(0x3F) || SjisIsTrailByte(0x7F) || SjisIsTrailByte(0xFD) || SjisIsTrailByte('\n'));
    EXPECT_EQ(path + 2, SjisFindFirst(path, '\\'));
    EXPECT_EQ(path + 5, SjisFindLast(path, '\\'));
    EXPECT_EQ(nullptr, SjisFindLast("ソ表", '\\'));

    const char text[] = "aソ表b";   // 1 + 2 + 2 + 1 bytes
    EXPECT_EQ(6u, SjisCutLength(text, 6, 10));
    EXPECT_EQ(5u, SjisCutLength(text, 6, 5));
    EXPECT_EQ(3u, SjisCutLength(text, 6, 4));   // 4 would end inside 表
    EXPECT_EQ(1u, SjisCutLength(text, 6, 2));   // 2 would end inside ソ
    EXPECT_EQ(3u, SjisCutLength("ab\x83", 3, 3));   // a lead byte at the very end stands alone
}
