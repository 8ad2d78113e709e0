// A host that answers the capture queries badly: sizes of 0, 1, negative or far beyond the text,
// and copies shorter than announced or none at all. Every case ends either with the text the
// host really copied stored, or silently, or with the status-bar message; never with a crash or
// a write past the plug-in's buffer (the fixture guards every heap block the plug-in takes).
#include "e2e/RobustFixture.h"
#include "host/HostProtocol.h"
#include <climits>
#include <cstring>

namespace {

const char kAddFailed[] = "文字列のﾘｽﾄ追加に失敗しました！！";

enum class Copy { Whole, TwoBytes, Nothing, EmptyText, FillCapacity };

// A host that announces 5001 bytes and then fills all the room it is given (5002 bytes with the
// zero), the last double-byte character across byte 5000: still cut to whole characters.
const std::string kCutFill(4999, 'x');
const char kCut[] = "取得文字列の、5000 バイト（保存上限）以降を切り捨てました！！";

// Announcing INT_MAX bytes asks for a buffer of over 2 GB. A 64-bit editor gets one and the
// capture stores what the host copied; a 32-bit one has no such block, and the capture ends
// silently, as for any buffer it cannot get.
const char* const kIntMaxStored = sizeof(void*) == 8 ? "Def ghi" : nullptr;

struct AnswerCase {
    const char* what;
    int button;
    bool ctrl;
    LRESULT announced;   // the answer to the size query
    Copy copy;           // what the host then copies
    const char* stored;  // the new top item; nullptr: nothing is stored
    const char* status;  // the status bar afterwards
    int beeps;
};

// The document line all cases capture: "Def ghi" (7 bytes, size 8 with its zero).
const AnswerCase kCases[] = {
    {"selection, size 0", 40004, false, 0, Copy::Whole, nullptr, "", 0},
    {"selection, size 1", 40004, false, 1, Copy::Whole, nullptr, "", 0},
    {"selection, size -1", 40004, false, -1, Copy::Whole, nullptr, "", 0},
    {"selection, size INT_MIN", 40004, false, INT_MIN, Copy::Whole, nullptr, "", 0},
    {"selection, size 4 of 8", 40004, false, 4, Copy::Whole, "Def ", "", 0},
    {"selection, size 1 MB", 40004, false, 1000000, Copy::Whole, "Def ghi", "", 0},
    {"selection, size INT_MAX", 40004, false, INT_MAX, Copy::Whole, kIntMaxStored, "", 0},
    {"selection, two bytes copied", 40004, false, 8, Copy::TwoBytes, "De", "", 0},
    {"selection, nothing copied", 40004, false, 8, Copy::Nothing, nullptr, kAddFailed, 1},
    {"selection, empty text copied", 40004, false, 8, Copy::EmptyText, nullptr, kAddFailed, 1},
    {"selection, size 5001, room filled", 40004, false, 5001, Copy::FillCapacity, kCutFill.c_str(), kCut, 1},
    {"selection by lines, size 1 MB", 40004, true, 1000000, Copy::Whole, "Def ghi", "", 0},
    {"selection by lines, nothing copied", 40004, true, 8, Copy::Nothing, nullptr, "", 0},
    {"line start to caret, size -1", 40002, false, -1, Copy::Whole, nullptr, "", 0},
    {"line start to caret, size 4 of 8", 40002, false, 4, Copy::Whole, "Def", "", 0},
    {"line start to caret, size INT_MAX", 40002, false, INT_MAX, Copy::Whole, kIntMaxStored, "", 0},
    {"line start to caret, nothing copied", 40002, false, 8, Copy::Nothing, nullptr, kAddFailed, 1},
    {"caret to line end, size 0", 40003, false, 0, Copy::Whole, nullptr, "", 0},
    {"caret to line end, size 1 MB", 40003, false, 1000000, Copy::Whole, "Def ghi", "", 0},
    {"caret to line end, two bytes copied", 40003, false, 8, Copy::TwoBytes, "De", "", 0},
    {"line, size 0", 40008, false, 0, Copy::Whole, nullptr, "", 0},
    {"line, size 1", 40008, false, 1, Copy::Whole, nullptr, "", 0},
    {"line, size -1", 40008, false, -1, Copy::Whole, nullptr, "", 0},
    {"line, size 4 of 8", 40008, false, 4, Copy::Whole, "Def ", "", 0},
    {"line, size 1 MB", 40008, false, 1000000, Copy::Whole, "Def ghi", "", 0},
    {"line, size INT_MAX", 40008, false, INT_MAX, Copy::Whole, kIntMaxStored, "", 0},
    {"line, empty text copied", 40008, false, 8, Copy::EmptyText, nullptr, kAddFailed, 1},
    {"line, size 5001, room filled", 40008, false, 5001, Copy::FillCapacity, kCutFill.c_str(), kCut, 1},
};

class BadHostAnswers : public RobustFixture {
protected:
    // Answers the size query of `c` and its copy as a faulty host would; the whole copy is left
    // to the real host.
    void Answer(const AnswerCase& c)
    {
        Host().SetAnswerHook([c](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            char* buffer = nullptr;
            size_t capacity = 0;
            if (message == HM_GET_SEL_TEXT && c.button != 40008) {
                if (wParam == 0 || lParam == 0) {
                    result = c.announced;
                    return true;
                }
                buffer = reinterpret_cast<char*>(lParam);
                capacity = wParam;
            } else if (message == HM_GET_LINE && c.button == 40008) {
                auto* request = reinterpret_cast<HostLineRequest*>(wParam);
                if (request->capacity == 0 || lParam == 0) {
                    result = c.announced;
                    return true;
                }
                buffer = reinterpret_cast<char*>(lParam);
                capacity = request->capacity;
            } else {
                return false;
            }
            switch (c.copy) {
            case Copy::Whole: return false;
            case Copy::TwoBytes:
                if (capacity < 3) return false;
                memcpy(buffer, "De", 3);
                result = 3;
                return true;
            case Copy::Nothing: result = 0; return true;
            case Copy::EmptyText: buffer[0] = '\0'; result = 1; return true;
            case Copy::FillCapacity: {
                std::string text = std::string(capacity - 3, 'x') + "ソ";
                memcpy(buffer, text.c_str(), capacity);
                result = static_cast<LRESULT>(capacity);
                return true;
            }
            }
            return false;
        });
    }
    void PlaceCaretFor(int button)
    {
        switch (button) {
        case 40004: Select({1, 0}, {1, 7}); break;
        case 40002: SetCaret(1, 7); break;
        case 40003: SetCaret(1, 0); break;
        default: SetCaret(1, 2); break;
        }
    }
};

TEST_F(BadHostAnswers, EveryCaptureEndsWithTheCopiedTextSilenceOrAMessage)
{
    for (const AnswerCase& c : kCases) {
        SCOPED_TRACE(c.what);
        boxes->QueueAnswer(IDYES);
        Press(40006); // an empty list for each case
        ASSERT_TRUE(Items().empty());
        PlaceCaretFor(c.button);
        std::string document = Text();
        int beepsBefore = Beeps();
        Answer(c);
        if (c.ctrl) {
            CtrlHeld ctrl;
            Press(c.button);
        } else {
            Press(c.button);
        }
        Host().SetAnswerHook(nullptr);
        if (c.stored != nullptr) {
            EXPECT_EQ(std::vector<std::string>{c.stored}, Items());
        } else {
            EXPECT_TRUE(Items().empty());
        }
        EXPECT_EQ(c.status, StatusText());
        EXPECT_EQ(c.beeps, Beeps() - beepsBefore);
        EXPECT_EQ(document, Text());
    }
    // The only boxes were the delete-all questions between the cases.
    for (const MessageBoxRecord& box : boxes->Boxes()) EXPECT_EQ("全ての項目を削除してもよろしいですか？", box.text);
    EXPECT_TRUE(ProcessHeapsValid());
}

} // namespace
