// The message box helper: codes, captions and real boxes.
#include <gtest/gtest.h>
#include "common/AppVal.h"
#include "support/MessageBoxHook.h"
#include <string>

TEST(AppVal, TextsCaptionsAndCodes)
{
    MessageBoxHook boxes(GetModuleHandleA(nullptr));
    ASSERT_TRUE(boxes.Installed());
    CAppVal app;
    EXPECT_EQ(0, app.ShowMessage("", "c", "x", "yn"));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(IDOK, app.ShowMessage("t", "", "", ""));
    app.SetCaption("Vexaro Ver1.0β");
    app.ShowMessage("t", "確認", "", "");
    app.ShowMessage("t", "", "", "");
    ASSERT_EQ(3u, boxes.Boxes().size());
    EXPECT_EQ("メッセージ", boxes.Boxes()[0].caption);
    EXPECT_EQ(nullptr, boxes.Boxes()[0].owner);
    EXPECT_EQ("確認", boxes.Boxes()[1].caption);
    EXPECT_EQ("Vexaro Ver1.0β", boxes.Boxes()[2].caption);   // the argument did not stick

    const std::pair<const char*, UINT> icons[] = {{"", MB_ICONINFORMATION}, {"x", MB_ICONHAND},
        {"!", MB_ICONINFORMATION}, {"?", MB_ICONQUESTION}, {"!!", MB_ICONEXCLAMATION}, {"X", 0}, {" x", 0}, {"i", 0}};
    const std::pair<const char*, UINT> buttons[] = {{"", MB_OK}, {"o", MB_OK}, {"oc", MB_OKCANCEL}, {"yn", MB_YESNO},
        {"ync", MB_YESNOCANCEL}, {"sri", MB_ABORTRETRYIGNORE}, {"rc", MB_RETRYCANCEL}, {"OC", MB_OK}, {"ok", MB_OK}};
    for (const auto& icon : icons) {
        for (const auto& button : buttons) {
            boxes.Clear();
            app.ShowMessage("t", "", icon.first, button.first);
            ASSERT_EQ(1u, boxes.Boxes().size());
            EXPECT_EQ(icon.second | button.second, boxes.Boxes()[0].style) << '"' << icon.first << "\" \"" << button.first << '"';
        }
    }

    // 300 bytes: "a" then 表 cut to 259 bytes; ソ only cut to 258, never half a character.
    std::string withA = "a", twoByte;
    while (twoByte.size() < 300) withA += "表", twoByte += "ソ";
    app.SetCaption(withA.c_str());
    EXPECT_EQ(withA.substr(0, 259), app.GetCaption());
    boxes.Clear();
    app.ShowMessage("t", twoByte.c_str(), "", "");
    EXPECT_EQ(twoByte.substr(0, 258), boxes.Boxes().at(0).caption);
}

TEST(AppVal, RealBoxesAnswerNoAndYes)
{
    CAppVal app;
    {
        RealBoxAnswerer no(IDNO);
        EXPECT_EQ(IDNO, app.ShowMessage("選択項目を削除してもよろしいですか？", "確認", "?", "yn"));
        ASSERT_EQ(1u, no.Shown().size());
        EXPECT_EQ("確認", no.Shown()[0].caption);
        EXPECT_EQ("選択項目を削除してもよろしいですか？", no.Shown()[0].text);
    }
    RealBoxAnswerer yes(IDYES);
    EXPECT_EQ(IDYES, app.ShowMessage("全ての項目を削除してもよろしいですか？", "", "?", "yn"));
    EXPECT_EQ("メッセージ", yes.Shown().at(0).caption);
}
