// The entry points as the host calls them, on the plug-in's code linked into this test program.
#include <gtest/gtest.h>
#include "plugin/Exports.h"
#include "plugin/Globals.h"
#include "plugin/HostMessages.h"
#include "plugin/PluginState.h"
#include "support/MessageBoxHook.h"
#include "support/RecordingWindow.h"
#include <string>
#include <vector>

namespace {

std::vector<ReceivedMessage>& received = ReceivedMessages();

bool IsHostMessage(UINT message) { return message >= 2048 && message < 2200; }

// A frame with a view inside, both recording the host messages they get.
class EntryPoints : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = CreateRecordingWindow(IsHostMessage, "frame", WS_OVERLAPPEDWINDOW, nullptr, 300, 200);
        view = CreateRecordingWindow(IsHostMessage, "view", WS_CHILD, frame, 100, 100);
        plugin = PluginState();
        plugin.hInstance = GetModuleHandleA(nullptr);
        messenger = CAppVal();
        iniFile.SetOwner(nullptr);
        received.clear();
    }
    void TearDown() override { DestroyWindow(frame); }

    HWND frame = nullptr;
    HWND view = nullptr;
    MessageBoxHook boxes{GetModuleHandleA(nullptr)};
};

TEST_F(EntryPoints, AnswerIdsAndStatusRightAfterLoading)
{
    EXPECT_EQ(1, GetMenuTextID());
    EXPECT_EQ(2, GetStatusMessageID());
    EXPECT_EQ(101, GetBitmapID());
    BOOL flag = 7;
    EXPECT_EQ(1, QueryStatus(nullptr, &flag));
    EXPECT_EQ(0, flag);
    plugin.bandClosed = 0;
    EXPECT_EQ(0, QueryStatus(nullptr, &flag));
}

TEST_F(EntryPoints, PlugInProcRequests)
{
    for (UINT request : {2305u, 2310u}) EXPECT_EQ(1, PlugInProc(frame, request, 0, 0)) << request;
    for (UINT request : {2304u, 2307u, 2309u, 0u, 2312u, 0xFFFFu}) EXPECT_EQ(0, PlugInProc(frame, request, 0, 0)) << request;

    const std::string version = "Vexaro Ver1.0β";
    EXPECT_EQ(static_cast<LRESULT>(version.size() + 1), PlugInProc(frame, 2306, 0, 0));
    char buffer[80];
    memset(buffer, 'Z', sizeof buffer);
    EXPECT_EQ(static_cast<LRESULT>(version.size() + 1), PlugInProc(frame, 2306, 5, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(0, memcmp(buffer, "Vexa\0", 5));
    EXPECT_EQ('Z', buffer[5]);
    EXPECT_EQ(static_cast<LRESULT>(version.size() + 1), PlugInProc(frame, 2308, sizeof buffer, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(version, buffer);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(EntryPoints, DeleteQuestionIsAnsweredOneOnlyForYes)
{
    ASSERT_TRUE(boxes.Installed());
    boxes.QueueAnswer(IDYES);
    boxes.QueueAnswer(IDNO);
    boxes.QueueAnswer(IDCANCEL);
    EXPECT_EQ(1, PlugInProc(frame, 2311, 0, 0));
    EXPECT_EQ(0, PlugInProc(frame, 2311, 0, 0));
    EXPECT_EQ(0, PlugInProc(frame, 2311, 0, 0));
    ASSERT_EQ(3u, boxes.Boxes().size());
    const MessageBoxRecord& box = boxes.Boxes()[0];
    EXPECT_EQ(frame, box.owner);
    EXPECT_EQ("Vexaro.dll を削除してもよろしいですか？\r\n（指定プラグインは、削除されます。）", box.text);
    EXPECT_EQ("エディタ", box.caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), box.style);
}

TEST_F(EntryPoints, CommandIdComesFirstThenRefreshCarriesIt)
{
    OnEvents(view, 0x400 | 0x40, 0x1234);
    ASSERT_EQ(1u, received.size());
    EXPECT_EQ(view, received[0].window);
    EXPECT_EQ(static_cast<UINT>(HOSTMSG_REFRESH_STATUS), received[0].message);
    EXPECT_EQ(0x1234u, received[0].wParam);
    EXPECT_EQ(0, received[0].lParam);

    // From now on error boxes are owned by the frame and carry the version text.
    messenger.ShowMessage("x", "", "x", "o");
    iniFile.ShowMessage("y", "", "x", "o");
    ASSERT_EQ(2u, boxes.Boxes().size());
    for (const MessageBoxRecord& box : boxes.Boxes()) {
        EXPECT_EQ(frame, box.owner);
        EXPECT_EQ("Vexaro Ver1.0β", box.caption);
    }
}

TEST_F(EntryPoints, ViewEventMovesOnlyTheMessengersOwner)
{
    OnEvents(view, 0x400, 1);
    HWND otherFrame = CreateRecordingWindow(IsHostMessage, "other", WS_OVERLAPPEDWINDOW, nullptr, 100, 100);
    HWND otherView = CreateRecordingWindow(IsHostMessage, "v2", WS_CHILD, otherFrame, 10, 10);
    OnEvents(otherView, 0x2000, 0);
    EXPECT_EQ(otherFrame, plugin.hostWindow);
    EXPECT_EQ(otherView, plugin.viewWindow);
    EXPECT_EQ(otherFrame, messenger.GetOwner());
    EXPECT_EQ(frame, iniFile.GetOwner());
    EXPECT_TRUE(received.empty());
    DestroyWindow(otherFrame);
}

TEST_F(EntryPoints, UnloadEventEmptiesBothLists)
{
    savedItems.Add("a");
    savedItems.Add("b");
    clipHistory.Add("c");
    OnEvents(view, 0x800, 0);
    EXPECT_EQ(0, savedItems.GetCount());
    EXPECT_EQ(0, clipHistory.GetCount());
    EXPECT_TRUE(received.empty());
}

} // namespace
