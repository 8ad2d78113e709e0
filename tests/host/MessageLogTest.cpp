// The log of host messages and the ordered-sequence check built on it.
#include "fixture/HostFixture.h"
#include "fixture/MessageSequence.h"

namespace {

class HostLog : public HostFixture {
protected:
    HostLog() { setup.text = "abc"; }
};

TEST_F(HostLog, RecordsEveryMessageInOrderWithItsReceiver)
{
    ClearLog();
    HostPos pos = {0, 0};
    SendHost(HM_INSERT_TEXT, 0, reinterpret_cast<LPARAM>("xy"), View());
    SendHost(HM_GET_CARET_POS, 1, reinterpret_cast<LPARAM>(&pos));
    SendHost(HM_SET_STATUS_TEXT, 0, reinterpret_cast<LPARAM>("状態"));
    SendHost(HM_EDIT_BRACKET, 0, 0, View());
    SendHost(HM_EDIT_BRACKET, 1, 0);

    const std::vector<HostLogEntry>& log = LogEntries();
    ASSERT_EQ(5u, log.size());
    EXPECT_EQ(2080u, log[0].message);
    EXPECT_EQ(View(), log[0].receiver);
    EXPECT_EQ("xy", log[0].text);
    EXPECT_EQ(2054u, log[1].message);
    EXPECT_EQ(1u, log[1].wParam);
    EXPECT_EQ(Frame(), log[1].receiver);
    EXPECT_EQ(2, log[1].after.column) << "decoded when it was answered";
    EXPECT_EQ("状態", log[2].text);
    EXPECT_EQ(View(), log[3].receiver);
    EXPECT_EQ(1u, log[4].wParam);

    EXPECT_TRUE(MatchesSequence(log, {
        {HM_INSERT_TEXT, 0, 0, SEQ_WPARAM | SEQ_TEXT, "xy"},
        {HM_GET_CARET_POS, 1, 0, SEQ_WPARAM, nullptr},
        {HM_SET_STATUS_TEXT, 0, 0, SEQ_TEXT, "状態"},
        {HM_EDIT_BRACKET, 0, 0, SEQ_WPARAM | SEQ_LPARAM, nullptr},
        {HM_EDIT_BRACKET, 1, 0, SEQ_WPARAM | SEQ_LPARAM, nullptr},
    }));
    // Only the messages of interest, with an optional row that did not happen.
    EXPECT_TRUE(MatchesSequence(log, {
        {HM_EDIT_BRACKET, 0, 0, SEQ_WPARAM, nullptr},
        {HM_CONVERT_SELECTION, 0, 0, SEQ_OPTIONAL, nullptr},
        {HM_EDIT_BRACKET, 1, 0, SEQ_WPARAM, nullptr},
    }, {HM_EDIT_BRACKET, HM_CONVERT_SELECTION}));

    ClearLog();
    EXPECT_TRUE(LogEntries().empty());
}

TEST_F(HostLog, SequenceCheckReportsMismatches)
{
    SendHost(HM_INSERT_TEXT, 0, reinterpret_cast<LPARAM>("ｶﾞ"));
    SendHost(HM_EXEC_COMMAND, HC_CANCEL_SELECTION, 0);
    const std::vector<HostLogEntry>& log = LogEntries();
    std::string report;

    // A wrong text.
    EXPECT_FALSE(CompareSequence(log, {{HM_INSERT_TEXT, 0, 0, SEQ_TEXT, "ガ"},
                                       {HM_EXEC_COMMAND, 4187, 0, SEQ_WPARAM, nullptr}}, {}, &report));
    EXPECT_NE(std::string::npos, report.find(">> 2080")) << report;
    EXPECT_NE(std::string::npos, report.find("2070 w=4187")) << "both sides are listed:\n" << report;

    // A wrong wParam, a missing message, an extra message.
    EXPECT_FALSE(CompareSequence(log, {{HM_INSERT_TEXT, 0, 0, 0, nullptr},
                                       {HM_EXEC_COMMAND, 4211, 0, SEQ_WPARAM, nullptr}}, {}, &report));
    EXPECT_FALSE(CompareSequence(log, {{HM_INSERT_TEXT, 0, 0, 0, nullptr},
                                       {HM_EXEC_COMMAND, 0, 0, 0, nullptr},
                                       {HM_EDIT_BRACKET, 0, 0, 0, nullptr}}, {}, &report));
    EXPECT_NE(std::string::npos, report.find("| -")) << "the missing actual row shows as '-':\n" << report;
    EXPECT_FALSE(CompareSequence(log, {{HM_INSERT_TEXT, 0, 0, 0, nullptr}}, {}, &report));
    // The same expectations pass once the rest is filtered out.
    EXPECT_TRUE(CompareSequence(log, {{HM_INSERT_TEXT, 0, 0, 0, nullptr}}, {HM_INSERT_TEXT}, &report));
    EXPECT_FALSE(MatchesSequence(log, {}));
}

} // namespace
