// The owned string list.
#include <gtest/gtest.h>
#include "cliplist/DimPack.h"
#include "AllocFailure.h"
#include <string>

TEST(DimPack, OrderIndexesDuplicatesAndClear)
{
    CDimPack list;
    EXPECT_EQ(0, list.GetCount());
    EXPECT_STREQ("", list.GetAt(0));
    EXPECT_EQ(0, list.RemoveAt(0));
    list.Clear();
    for (const char* text : {"A", "B", "C", "B", ""}) EXPECT_TRUE(list.Add(text));
    ASSERT_EQ(5, list.GetCount());
    EXPECT_STREQ("A", list.GetAt(0));
    EXPECT_STREQ("B", list.GetAt(3));
    EXPECT_STREQ("", list.GetAt(4));
    EXPECT_STREQ("", list.GetAt(5));
    EXPECT_STREQ("", list.GetAt(-1));
    EXPECT_EQ(1, list.RemoveAt(0));
    EXPECT_EQ(0, list.RemoveAt(4));
    EXPECT_EQ(0, list.RemoveAt(-1));
    ASSERT_EQ(4, list.GetCount());
    EXPECT_STREQ("B", list.GetAt(0));
    EXPECT_STREQ("C", list.GetAt(1));
    list.Clear();
    EXPECT_EQ(0, list.GetCount());
    list.Add("ソ表");
    EXPECT_TRUE(list.Add("abcdef", 3));
    ASSERT_EQ(2, list.GetCount());
    EXPECT_STREQ("ソ表", list.GetAt(0));
    EXPECT_STREQ("abc", list.GetAt(1));

    CDimPack history;   // the newest 30, oldest first
    for (int i = 1; i <= 31; ++i) {
        history.Add(("clip " + std::to_string(i)).c_str());
        if (history.GetCount() > 30) history.RemoveAt(0);
    }
    ASSERT_EQ(30, history.GetCount());
    EXPECT_STREQ("clip 2", history.GetAt(0));
    EXPECT_STREQ("clip 31", history.GetAt(29));
}

TEST(DimPack, OutOfMemoryLeavesTheListUnchangedAndUsable)
{
    const std::string text(100, 'x');
    CDimPack list;
    for (int i = 0; i < 4; ++i) list.Add((text + std::to_string(i)).c_str());   // the array is now full
    for (int failing = 0; failing < 2; ++failing) {   // the text's copy, the larger array
        FailAllocationAfter(failing);
        EXPECT_FALSE(list.Add(text.c_str()));
        EXPECT_TRUE(AllocationFailureFired());
        FailAllocationAfter(-1);
        ASSERT_EQ(4, list.GetCount());
        for (int i = 0; i < 4; ++i) EXPECT_EQ(text + std::to_string(i), list.GetAt(i));
    }
    EXPECT_TRUE(list.Add("after"));
    EXPECT_STREQ("after", list.GetAt(4));
}
