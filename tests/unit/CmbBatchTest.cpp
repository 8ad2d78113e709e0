// The clip list's fast ways of changing many items at once, each against the plain steps it
// stands for, carried out message by message on a twin combo box: the same items in the same
// order and spelling, the same selection, scroll position, heights and shown text.
#include <gtest/gtest.h>
#include "cliplist/Cmb.h"
#include "capture/TextBuffer.h"
#include "support/MessageBoxHook.h"
#include "support/Pump.h"
#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;
const int kListHeight = 400;

// Everything about a list that a user or the band can see.
struct ListState {
    Texts items;
    LRESULT selected, top, itemHeight, dropped;
    int closedHeight, width, droppedHeight;
    std::string shown;

    bool operator==(const ListState& o) const
    {
        return items == o.items && selected == o.selected && top == o.top && itemHeight == o.itemHeight &&
               dropped == o.dropped && closedHeight == o.closedHeight && width == o.width &&
               droppedHeight == o.droppedHeight && shown == o.shown;
    }
};

std::ostream& operator<<(std::ostream& out, const ListState& s)
{
    out << "{" << s.items.size() << " items:";
    for (const std::string& item : s.items) out << " [" << item << "]";
    return out << "; selected " << s.selected << ", top " << s.top << ", item height " << s.itemHeight << ", dropped "
               << s.dropped << ", closed " << s.closedHeight << "x" << s.width << ", list " << s.droppedHeight
               << ", shows [" << s.shown << "]}";
}

ListState StateOf(HWND combo)
{
    ListState s;
    s.items.resize(static_cast<size_t>(SendMessageA(combo, CB_GETCOUNT, 0, 0)));
    for (size_t i = 0; i < s.items.size(); ++i) {
        std::vector<char> text(static_cast<size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, i, 0)) + 1);
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        s.items[i] = text.data();
    }
    s.selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    s.top = SendMessageA(combo, CB_GETTOPINDEX, 0, 0);
    s.itemHeight = SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0);
    s.dropped = SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0);
    RECT r;
    GetWindowRect(combo, &r);
    s.closedHeight = r.bottom - r.top;
    s.width = r.right - r.left;
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    s.droppedHeight = r.bottom - r.top;
    char shown[600] = "";
    GetWindowTextA(combo, shown, sizeof shown);
    s.shown = shown;
    return s;
}

// The plain steps, one message at a time: resize after every change, search the whole list for
// equal items before every insertion.
void PlainResize(HWND combo, int height)
{
    RECT r;
    GetWindowRect(combo, &r);
    int closed = r.bottom - r.top;
    SetWindowPos(combo, nullptr, 0, 0, r.right - r.left, std::max(height, 2 * closed), SWP_NOMOVE);
}

int PlainAdd(HWND combo, const char* text, int position)
{
    if (text[0] == '\0') return -1;
    for (LRESULT found; (found = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text))) >= 0;)
        SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(found), 0);
    LRESULT index = SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(text));
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PlainResize(combo, kListHeight);
    return static_cast<int>(index);
}

// What the loop of callers gives: -1 at the first text that fails, else the number added.
int PlainAddAll(HWND combo, const Texts& texts, int position)
{
    for (const std::string& text : texts) {
        if (PlainAdd(combo, text.c_str(), position) == -1) return -1;
    }
    return static_cast<int>(texts.size());
}

void PlainDeleteAll(HWND combo)
{
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    PlainResize(combo, 0);
}

// A batch operation of the wrapper, handed the texts as it takes them: an array and its length.
int Batch(CCmb& cmb, int (CCmb::*operation)(const char* const*, int), const Texts& texts)
{
    std::vector<const char*> pointers;
    for (const std::string& text : texts) pointers.push_back(text.c_str());
    return (cmb.*operation)(pointers.data(), static_cast<int>(pointers.size()));
}

// Two lists made alike: `fast` driven by the wrapper under test, `plain` by the plain steps.
class CmbBatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        static HWND shared = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 700, 500, nullptr, nullptr, nullptr, nullptr);
        owner = shared;
        fastCombo = Make(fast, 1001, 10);
        plainCombo = Make(plainCmb, 1002, 300);
    }
    void TearDown() override
    {
        while (HWND child = GetWindow(owner, GW_CHILD)) DestroyWindow(child);
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    HWND Make(CCmb& cmb, int id, int x)
    {
        cmb.SetOwner(owner);
        cmb.SetListHeight(kListHeight);
        cmb.SetControlId(id);
        HWND combo = cmb.Create(nullptr, x, 10, 200, 0x56210143, nullptr);
        cmb.SetItemHeight(17);
        return combo;
    }
    // Both lists start from the same items, the last one selected, as AddItem leaves them.
    void Start(const Texts& items)
    {
        for (const std::string& item : items) {
            fast.AddItem(item.c_str(), CB_INSERTSTRING, -1, 0);
            PlainAdd(plainCombo, item.c_str(), -1);
        }
        ASSERT_EQ(StateOf(plainCombo), StateOf(fastCombo));
    }
    void ExpectSame(const char* what) { EXPECT_EQ(StateOf(plainCombo), StateOf(fastCombo)) << what; }

    HWND owner = nullptr;
    CCmb fast, plainCmb;
    HWND fastCombo = nullptr, plainCombo = nullptr;
    MessageBoxHook boxes{GetModuleHandleA(nullptr)};
};

// Lists and texts where equal items (letter case ignored, the list's own rule) meet.
struct Case {
    Texts before;
    Texts texts;
};
const Case kCases[] = {
    {{}, {"a", "b", "c"}},
    {{"x", "B", "y"}, {"a", "b", "c", "A"}},
    {{"ABC", "abc "}, {"abc", "ＡＢＣ", "ａｂｃ", "Ａｂｃ"}},           // full-width letters have case too
    {{"カタカナ", "かたかな"}, {"ｶﾀｶﾅ", "カタカナ", "ｶﾀｶﾅ", "ｶﾞｷﾞ"}},  // width and kana type count
    {{"co-op", "it's"}, {"coop", "its", "CO-OP", "a\tb", "a b"}},
    {{"①", "Ⅰ", "≒"}, {"1", "I", "①", "ⅰ", "ｱｰ", "アー", "アア"}},
    {{"same", "SAME"}, {"Same", "same", "sAME"}},                    // a list that kept equal items
    {{"a", "b"}, {"c", "", "d"}},                                    // an empty text stops the loop
};

} // namespace

TEST_F(CmbBatch, OnTopAndAtEndGiveTheListOfAddingOneByOne)
{
    for (const Case& c : kCases) {
        for (bool onTop : {true, false}) {
            SCOPED_TRACE(std::string(onTop ? "on top: " : "at end: ") + (c.texts.empty() ? "" : c.texts[0]));
            PlainDeleteAll(plainCombo);
            fast.DeleteAll();
            // Equal items side by side can only come from outside the wrapper.
            for (const std::string& item : c.before) {
                SendMessageA(plainCombo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
                SendMessageA(fastCombo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
            }
            int expected = PlainAddAll(plainCombo, c.texts, onTop ? 0 : -1);
            int result = onTop ? Batch(fast, &CCmb::AddItemsOnTop, c.texts) : Batch(fast, &CCmb::AddItemsAtEnd, c.texts);
            EXPECT_EQ(expected, result);
            ExpectSame("after the texts");
        }
    }
}

TEST_F(CmbBatch, ManyRandomTextsWithFrequentRepeats)
{
    // A small alphabet of letters in both cases and widths, kana and symbols: repeats are common.
    const char* pieces[] = {"a", "A", "ａ", "Ａ", "b", "ｶ", "カ", "か", "-", "'", "ー", "1", "①"};
    std::mt19937 random(8);
    auto text = [&] {
        std::string t;
        for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n) t += pieces[random() % (sizeof pieces / sizeof *pieces)];
        return t;
    };
    Texts start;
    for (int i = 0; i < 60; ++i) start.push_back(text());
    Start(start);
    for (int round = 0; round < 4; ++round) {
        Texts texts;
        for (int i = 0; i < 150; ++i) texts.push_back(text());
        bool onTop = round % 2 == 0;
        EXPECT_EQ(PlainAddAll(plainCombo, texts, onTop ? 0 : -1),
                  onTop ? Batch(fast, &CCmb::AddItemsOnTop, texts) : Batch(fast, &CCmb::AddItemsAtEnd, texts));
        ExpectSame(onTop ? "on top" : "at end");
    }
}

TEST_F(CmbBatch, RefillAndReplaceGiveTheListOfDeleteAllAndAdding)
{
    Texts saved = {"one", "Two", "三", "ｶﾀｶﾅ", "カタカナ", "four"};
    Start({"old", "two"});
    // The refill of a band: an empty list and the copy of an earlier list.
    PlainDeleteAll(plainCombo);
    fast.DeleteAll();
    EXPECT_EQ(PlainAddAll(plainCombo, saved, -1), Batch(fast, &CCmb::AppendDistinctItems, saved));
    ExpectSame("refilled");
    // Into a list that still holds items it is the ordinary add at the end.
    Texts more = {"ONE", "five"};
    EXPECT_EQ(PlainAddAll(plainCombo, more, -1), Batch(fast, &CCmb::AppendDistinctItems, more));
    ExpectSame("added to a full list");

    Texts history = {"copy 1", "copy 2", "COPY 1", "copy 3", "copy 2"};
    PlainDeleteAll(plainCombo);
    EXPECT_EQ(PlainAddAll(plainCombo, history, 0), Batch(fast, &CCmb::ReplaceWithItemsOnTop, history));
    ExpectSame("history view");
    PlainDeleteAll(plainCombo);
    EXPECT_EQ(PlainAddAll(plainCombo, saved, -1), Batch(fast, &CCmb::ReplaceWithDistinctItems, saved));
    ExpectSame("normal view");
    PlainDeleteAll(plainCombo);
    EXPECT_EQ(0, fast.ReplaceWithDistinctItems(nullptr, 0));
    ExpectSame("nothing saved: an empty list one row high");
    Texts stops = {"a", "", "b"};
    PlainDeleteAll(plainCombo);
    EXPECT_EQ(PlainAddAll(plainCombo, stops, 0), Batch(fast, &CCmb::ReplaceWithItemsOnTop, stops));
    ExpectSame("stopped at an empty text");
    PlainDeleteAll(plainCombo);
    Texts empty = {""};
    EXPECT_EQ(PlainAddAll(plainCombo, empty, -1), Batch(fast, &CCmb::ReplaceWithDistinctItems, empty));
    ExpectSame("stopped before any item");
}

TEST_F(CmbBatch, ReadAllItemsGivesWhatGetItemTextGives)
{
    Start({"a", "ソ表", "long text with spaces", "ｶﾀｶﾅ"});
    Texts plain;
    char* slot = nullptr;
    for (int i = 0; i < fast.GetCount(); ++i) {
        if (fast.GetItemText(&slot, i) > 0) plain.push_back(slot);
    }
    FreeTextBuffer(&slot);
    CDimPack read;
    EXPECT_EQ(4, fast.ReadAllItems(read));
    Texts readTexts;
    for (int i = 0; i < read.GetCount(); ++i) readTexts.push_back(read.GetAt(i));
    EXPECT_EQ(plain, readTexts);
    fast.DeleteAll();
    EXPECT_EQ(0, fast.ReadAllItems(read));
    EXPECT_EQ(4, read.GetCount());
    fast.SetControlId(-1);
    EXPECT_EQ(-1, fast.ReadAllItems(read));
}

TEST_F(CmbBatch, HeightIsSetOnlyWhenItWouldChangeAndAlwaysOnADroppedList)
{
    Start({"a", "b"});
    // Each single operation against the plain steps, with the height applied every time there.
    fast.AddItem("c", CB_INSERTSTRING, 0, 0);
    PlainAdd(plainCombo, "c", 0);
    ExpectSame("add");
    fast.DeleteItem(0);
    SendMessageA(plainCombo, CB_DELETESTRING, 0, 0);
    PlainResize(plainCombo, kListHeight);
    ExpectSame("delete one");
    // Something else changes the dropped height behind the wrapper's back: the next add mends it.
    SetWindowPos(fastCombo, nullptr, 0, 0, 200, 100, SWP_NOMOVE);
    fast.AddItem("d", CB_INSERTSTRING, 0, 0);
    PlainAdd(plainCombo, "d", 0);
    ExpectSame("add after an outside resize");
    // A dropped-down list gets the resize, with what the control does then.
    SendMessageA(fastCombo, CB_SHOWDROPDOWN, TRUE, 0);
    fast.AddItem("e", CB_INSERTSTRING, 0, 0);
    ListState dropped = StateOf(fastCombo);
    SendMessageA(fastCombo, CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageA(plainCombo, CB_SHOWDROPDOWN, TRUE, 0);
    PlainAdd(plainCombo, "e", 0);
    EXPECT_EQ(StateOf(plainCombo), dropped) << "add while dropped down";
    SendMessageA(plainCombo, CB_SHOWDROPDOWN, FALSE, 0);
    fast.DeleteAll();
    PlainDeleteAll(plainCombo);
    ExpectSame("delete all");
    PumpPending();
}
