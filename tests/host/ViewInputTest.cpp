// Keyboard, mouse and clipboard in the host's view.
#include "fixture/HostFixture.h"
#include "host/Clipboard.h"
#include "support/Pump.h"

namespace {

class ViewInput : public HostFixture {};

TEST_F(ViewInput, TypingIncludingDoubleByteCharacters)
{
    TypeChars("aア");           // ア arrives as two WM_CHARs, 0x83 then 0x41
    TypeChars("\r");
    SendMessageA(View(), WM_IME_CHAR, 0x8343, 1); // イ in one message
    TypeChars("表b");           // 表's second byte is 0x5C
    EXPECT_EQ("aア\r\nイ表b", Text());
    EXPECT_EQ(1, Caret().line);
    EXPECT_EQ(5, Caret().column);
    TypeChars("\n");            // Ctrl+J
    EXPECT_EQ("aア\r\nイ表b\r\n", Text());

    // Typing replaces a selection.
    Select({0, 0}, {0, 3});
    TypeChars("z");
    EXPECT_EQ("z\r\nイ表b\r\n", Text());
    // Control characters of Ctrl+letter insert nothing.
    TypeChars("\x01\x03\x16\x1a\x08");
    EXPECT_EQ("z\r\nイ表b\r\n", Text());
}

TEST_F(ViewInput, ArrowsHomeEndAndShiftSelection)
{
    SetText("abアイ\r\nxy");
    SetCaret(0, 6);
    PressKey(VK_LEFT, {VK_SHIFT});
    PressKey(VK_LEFT, {VK_SHIFT});
    EXPECT_EQ("アイ", SelectedText()) << "Shift+Left moves over whole double-byte characters";
    EXPECT_EQ(2, Caret().column);

    PressKey(VK_DOWN, {VK_SHIFT});
    EXPECT_EQ(1, Caret().line);
    EXPECT_EQ(2, Caret().column) << "the column is kept where the line is long enough";
    EXPECT_EQ("\r\nxy", SelectedText()) << "the anchor stays where the selection began";

    PressKey(VK_HOME);
    EXPECT_EQ("", SelectedText());
    EXPECT_EQ(0, Caret().column);
    PressKey(VK_END, {VK_SHIFT});
    EXPECT_EQ("xy", SelectedText());
    PressKey(VK_UP);
    EXPECT_EQ(0, Caret().line);
    EXPECT_EQ(2, Caret().column);
    PressKey(VK_RIGHT);
    EXPECT_EQ(4, Caret().column);
    PressKey(VK_HOME, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ("abア", SelectedText());
}

TEST_F(ViewInput, BackspaceDeleteAndEnter)
{
    SetText("aアイ\r\nb");
    SetCaret(0, 5);
    PressKey(VK_BACK);
    EXPECT_EQ("aア\r\nb", Text()) << "both bytes of イ go";
    PressKey(VK_DELETE);
    EXPECT_EQ("aアb", Text()) << "Delete at the line end joins the lines";
    PressKey(VK_LEFT);
    PressKey(VK_DELETE);
    EXPECT_EQ("ab", Text()) << "Delete takes ア whole";
    PressKey(VK_RETURN);
    EXPECT_EQ("a\r\nb", Text());
    EXPECT_EQ(1, Caret().line);
    PressKey(VK_END);
    PressKey(VK_RETURN, {VK_CONTROL});
    EXPECT_EQ("a\r\n\r\nb", Text()) << "Ctrl+Enter opens a line above, and its line feed breaks no line";
    EXPECT_EQ(1, Caret().line);
    EXPECT_EQ(0, Caret().column);
    PressKey(VK_DELETE);
    PressKey(VK_BACK);
    PressKey(VK_BACK);
    EXPECT_EQ("b", Text());
    PressKey(VK_BACK);
    EXPECT_EQ("b", Text()) << "nothing before the document start";
}

TEST_F(ViewInput, CopyCutPasteUndoThroughTheClipboard)
{
    SetText("アイ\r\nbc");
    Select({0, 2}, {1, 1});
    PressKey('C', {VK_CONTROL});
    std::string clip;
    ASSERT_TRUE(GetClipboardText(Frame(), clip));
    EXPECT_EQ("イ\r\nb", clip) << "CF_TEXT with CR LF";

    SetCaret(1, 2);
    PressKey('V', {VK_CONTROL});
    EXPECT_EQ("アイ\r\nbcイ\r\nb", Text());
    EXPECT_EQ(2, Caret().line);
    EXPECT_EQ(1, Caret().column);

    PressKey('Z', {VK_CONTROL});
    EXPECT_EQ("アイ\r\nbc", Text());

    PressKey('A', {VK_CONTROL});
    EXPECT_EQ("アイ\r\nbc", SelectedText());
    PressKey('X', {VK_CONTROL});
    EXPECT_EQ("", Text());
    ASSERT_TRUE(GetClipboardText(Frame(), clip));
    EXPECT_EQ("アイ\r\nbc", clip);

    // Text another program put there comes in the same way.
    ASSERT_TRUE(PutClipboardText(Frame(), "x\r\nｶﾞ"));
    SendMessageA(Frame(), WM_COMMAND, IDM_PASTE, 0);
    EXPECT_EQ("x\r\nｶﾞ", Text());
}

TEST_F(ViewInput, MouseClickShiftClickAndDrag)
{
    SetText("abcアイウ\r\nxyz\r\n");
    Click({0, 5});
    EXPECT_EQ(0, Caret().line);
    EXPECT_EQ(5, Caret().column);
    EXPECT_EQ(View(), GetFocus());

    Click({1, 2}, true);
    EXPECT_EQ("イウ\r\nxy", SelectedText());

    Drag({0, 1}, {1, 1});
    EXPECT_EQ("bcアイウ\r\nx", SelectedText());
    EXPECT_EQ(1, Caret().line);
    EXPECT_EQ(1, Caret().column);

    // A point left of the text is the line start; below the last line, the last line.
    SendMessageA(View(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 1000));
    SendMessageA(View(), WM_LBUTTONUP, 0, MAKELPARAM(0, 1000));
    EXPECT_EQ(2, Caret().line);
    EXPECT_EQ(0, Caret().column);
}

TEST_F(ViewInput, ScrollingFollowsTheCaret)
{
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + "\r\n";
    SetText(text);
    EXPECT_EQ(0, Host().ViewControl().TopLine());
    PressKey(VK_END, {VK_CONTROL});
    EXPECT_EQ(200, Caret().line);
    int top = Host().ViewControl().TopLine();
    EXPECT_GT(top, 150);
    RECT client;
    GetClientRect(View(), &client);
    POINT caret = Host().ViewControl().PointFromPos(Caret());
    EXPECT_LE(caret.y + Host().ViewControl().LineHeight(), client.bottom) << "the caret line is visible";

    SendMessageA(View(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(0, Host().ViewControl().TopLine());
    SendMessageA(View(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(1, Host().ViewControl().TopLine());
}

} // namespace
