// The clipboard history: what is recorded, how the history view shows it, and the viewer chain.
#include "e2e/ClipBarFixture.h"
#include "support/RecordingWindow.h"
#include <cstring>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class ClipBarHistory : public ClipBarFixture {
protected:
    // Saves "abc", " ghi" and "Def" (newest first) with three different buttons.
    void SaveThreeItems()
    {
        SetCaret(1, 3);
        Press(40002);
        Press(40003);
        SetCaret(0, 1);
        Press(40008);
    }
};

TEST_F(ClipBarHistory, EqualCopiesAreSeparateEntriesShownOnce)
{
    for (int i = 0; i < 3; ++i) Copy("same");
    EXPECT_EQ((Texts{"same"}), HistoryView());
    // 28 more texts: the first "same" goes with the 31st entry, the other two stay.
    for (int i = 1; i <= 29; ++i) Copy("t" + std::to_string(i));
    Texts shown = HistoryView();
    ASSERT_EQ(30u, shown.size());
    EXPECT_EQ("t29", shown.front());
    EXPECT_EQ("same", shown.back());
    // The third copy is the last entry to go.
    Copy("t30");
    shown = HistoryView();
    ASSERT_EQ(30u, shown.size());
    EXPECT_EQ("t30", shown.front());
    EXPECT_EQ("t1", shown.back());
}

// Copies made under an English keyboard layout (CF_LOCALE 0x0409), with which the system makes
// "?" of Japanese: a Unicode program's text is converted by the plug-in, an ANSI program's is
// taken as the bytes it wrote. What code page 932 has only under another code point comes back
// in its code page 932 form; what it lacks is one 〓, never "?", and never cut in half.
TEST_F(ClipBarHistory, CopiesAreRecordedInCodePage932WhateverTheCopiersKeyboardLayout)
{
    auto copy = [&](UINT format, const void* bytes, size_t size) {
        PublishClipboard([&] {
            HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, size);
            memcpy(GlobalLock(text), bytes, size);
            GlobalUnlock(text);
            SetClipboardData(format, text);
            HGLOBAL locale = GlobalAlloc(GMEM_MOVEABLE, sizeof(LCID));
            *static_cast<LCID*>(GlobalLock(locale)) = 0x0409;
            GlobalUnlock(locale);
            SetClipboardData(CF_LOCALE, locale);
        });
    };
    auto copyWide = [&](const std::wstring& text) { copy(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t)); };
    copyWide(L"日本語のテキスト");
    const char ansi[] = "ＡＮＳＩの表示";
    copy(CF_TEXT, ansi, sizeof ansi);
    copyWide(L"\u301C\u2014\u2016\u2212\u00A2\u00A3\u00AC");
    copyWide(L"絵文字\U0001F600と\u9DD7");
    // At the 500-byte limit: 〓 fits whole in the last two bytes, or is left out.
    copyWide(std::wstring(249, L'あ') + L"\U0001F600x");
    copyWide(L"a" + std::wstring(249, L'あ') + L"\U0001F600");
    std::string hiragana;
    for (int i = 0; i < 249; ++i) hiragana += "あ";
    EXPECT_EQ((Texts{"a" + hiragana, hiragana + "〓", "絵文字〓と〓", "\x81\x60\x81\x5C\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA",
                     "ＡＮＳＩの表示", "日本語のテキスト"}),
              HistoryView());
}

TEST_F(ClipBarHistory, ViewTakesNewCopiesOnTopAndGivesTheSavedItemsBackInOrder)
{
    const Texts saved = {"abc", " ghi", "Def"};
    SaveThreeItems();
    ASSERT_EQ(saved, Items());
    for (int i = 1; i <= 30; ++i) Copy("c" + std::to_string(i));
    Press(40007);
    Texts shown = Items();
    ASSERT_EQ(30u, shown.size());
    EXPECT_EQ("c30", shown.front());
    EXPECT_EQ("c1", shown.back());
    Copy("c31");
    shown = Items();
    ASSERT_EQ(30u, shown.size());
    EXPECT_EQ("c31", shown.front());
    EXPECT_EQ("c2", shown.back());
    Copy(std::string(600, 'z'));
    shown = Items();
    ASSERT_EQ(30u, shown.size());
    EXPECT_EQ(std::string(500, 'z'), shown.front());
    EXPECT_EQ("c3", shown.back());
    Press(40007);
    EXPECT_EQ(saved, Items());
}

// A clip list out of room: refuses the insertion the countdown at `data` reaches 0 on.
LRESULT CALLBACK RefuseInsert(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    int& countdown = *reinterpret_cast<int*>(data);
    if (message == CB_INSERTSTRING && countdown >= 0 && countdown-- == 0) return CB_ERRSPACE;
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(ClipBarHistory, LeavingTheViewWhenTheListRefusesAnItemKeepsEverySavedItem)
{
    const Texts saved = {"abc", " ghi", "Def"};
    SaveThreeItems();
    ASSERT_EQ(saved, Items());
    Copy("c1");
    Press(40007);
    // The refill stops at the second saved item: the band goes back to the history view, and
    // savedItems keeps all three.
    int countdown = 1;
    SetWindowSubclass(Combo(), RefuseInsert, 1, reinterpret_cast<DWORD_PTR>(&countdown));
    Press(40007);
    RemoveWindowSubclass(Combo(), RefuseInsert, 1);
    EXPECT_EQ(TBSTATE_ENABLED | TBSTATE_CHECKED, State(40007));
    EXPECT_EQ(Texts{"c1"}, Items());
    Press(40007);
    EXPECT_EQ(saved, Items());
}

// A program in the legacy viewer chain that passes nothing on (killed, hung, or written wrong)
// stops nothing: the band hears of changes through a format listener of its own. Two changes
// before the editor's thread looks record the second text once; the first is gone.
TEST_F(ClipBarHistory, AViewerChainCutOffStopsNothingAndEachChangeIsRecordedOnce)
{
    HWND silent = CreateRecordingWindow([](UINT message) { return message == WM_DRAWCLIPBOARD; });
    HWND before = SetClipboardViewer(silent);
    Copy("one");
    Copy("two");
    for (const char* text : {"three", "four"}) PutOnClipboard(text);
    PumpFor(200);
    // One more notice of a change already read, as the system posts one for each change.
    PostMessageA(BandDialog(), WM_CLIPBOARDUPDATE, 0, 0);
    PumpFor(50);
    EXPECT_EQ((Texts{"four", "two", "one"}), HistoryView());
    // 28 more texts make 31 entries, of which only "one" goes if "four" is there once.
    for (int i = 1; i <= 28; ++i) Copy("t" + std::to_string(i));
    EXPECT_EQ("two", HistoryView().back());
    EXPECT_NE(BandDialog(), GetClipboardViewer());
    ChangeClipboardChain(silent, before);
    DestroyWindow(silent);
}

} // namespace
