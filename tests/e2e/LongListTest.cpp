// Long clip lists in the band: a Ctrl split of many repeating lines, and the list brought back
// whole by closing and reopening the band and by leaving the history view.
#include "e2e/ClipBarFixture.h"
#include <cctype>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

// Each line added on top from the last to the first, equal items replaced: the first spelling of
// every line, in document order, above the earlier items no line equals.
Texts AfterSplit(const Texts& lines, const Texts& before)
{
    Texts result;
    auto known = [&result](const std::string& t) {
        for (const std::string& r : result) {
            if (SameIgnoringCase(r, t)) return true;
        }
        return false;
    };
    for (const std::string& line : lines) {
        if (!known(line)) result.push_back(line);
    }
    for (const std::string& item : before) {
        if (!known(item)) result.push_back(item);
    }
    return result;
}

class LongList : public ClipBarFixture {
protected:
    void Split(const Texts& lines)
    {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        SetText(text);
        Host().Edit().SelectAll();
        CtrlHeld ctrl;
        Press(40004);
    }
    LRESULT Selected() { return SendMessageA(Combo(), CB_GETCURSEL, 0, 0); }
};

} // namespace

TEST_F(LongList, SplitReopenAndHistoryKeepTheWholeListInOrder)
{
    Texts first, second;
    for (int i = 0; i < 300; ++i) first.push_back("Line " + std::to_string(i % 240));
    for (int i = 0; i < 300; ++i) second.push_back((i % 2 ? "LINE " : "line ") + std::to_string(i * 7 % 400));
    Split(first);
    Texts expected = AfterSplit(first, {});
    ASSERT_EQ(expected, Items());
    Split(second);
    expected = AfterSplit(second, expected);
    ASSERT_EQ(expected, Items());
    EXPECT_EQ(0, Selected());

    Press(40009);
    OpenClipBar();
    EXPECT_EQ(expected, Items());
    EXPECT_EQ(static_cast<LRESULT>(expected.size()) - 1, Selected());

    for (int i = 0; i < 3; ++i) Copy("copied " + std::to_string(i % 2));
    Press(40007);
    EXPECT_EQ((Texts{"copied 0", "copied 1"}), Items());
    EXPECT_EQ(0, Selected());
    Press(40007);
    EXPECT_EQ(expected, Items());
    EXPECT_EQ(static_cast<LRESULT>(expected.size()) - 1, Selected());
}
