// The settings file, against real files in a folder of our own under the temp folder.
#include <gtest/gtest.h>
#include "common/IniFile.h"
#include "support/MessageBoxHook.h"
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A fresh folder under the temp folder, taken away with what `Own` named inside it.
struct TempFolder {
    TempFolder() : path(std::string(256, '\0'))
    {
        path.resize(GetTempPathA(256, &path[0]));
        path += "vx-ini-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            SetFileAttributesA(it->c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(it->c_str()) || RemoveDirectoryA(it->c_str());
        }
        RemoveDirectoryA(path.c_str());
    }
    std::string Own(const std::string& name) { return made.emplace_back(path + "\\" + name); }
    std::string path;
    std::vector<std::string> made;
};

} // namespace

TEST(IniFile, PathsAndTheirMessages)
{
    MessageBoxHook boxes(GetModuleHandleA(nullptr));
    IniFile ini;
    EXPECT_STREQ("unit_tests.exe", ini.GetCaption());
    char out[260];
    auto dir = [&](const char* path) { return ini.ExtractDir(out, path) ? std::string(out) : "<failed>"; };
    auto name = [&](const char* path) { return ini.ExtractFileName(out, path) ? std::string(out) : "<failed>"; };
    auto change = [&](const char* path, const char* ext, bool report = true) {
        return ini.FncChgFileType(out, path, ext, report) ? std::string(out) : "<failed>";
    };
    EXPECT_EQ("C:\\", dir("C:\\file.dll"));
    EXPECT_EQ("C:\\dir", dir("C:\\dir\\file.dll"));
    EXPECT_EQ("C:\\", dir("C:\\表"));   // 表 and ソ end in the byte of a backslash
    EXPECT_EQ("表ソ.dll", name("C:\\ソ表\\表ソ.dll"));
    EXPECT_EQ(Texts(3, "<failed>"), (Texts{dir("ソ表.dll"), name(""), name("file.dll")}));
    EXPECT_EQ("C:\\Tools\\Vexaro.ini", change("C:\\Tools\\Vexaro.dll", "ini"));
    EXPECT_EQ("C:\\Tools\\Vexaro.ini", change("C:\\Tools\\Vexaro.dll", ".ini"));
    EXPECT_EQ("C:\\my.dir\\Vexaro.ini", change("C:\\my.dir\\Vexaro", "ini"));
    EXPECT_EQ("C:\\a\\x.ini", change("C:\\a\\x.ソ", "ini"));
    EXPECT_EQ(Texts(4, "<failed>"), (Texts{change("Vexaro.dll", "ini"), change("C:\\a.dll", ""),
        change("C:\\a.dll", "i*i", false), change(("C:\\" + std::string(255, 'a')).c_str(), "ini")}));
    EXPECT_FALSE(ini.IsBadFileName("ソ表ポ", true));   // ポ ends in the byte of '|'
    EXPECT_TRUE(boxes.Boxes().empty());

    EXPECT_EQ("<failed>", change("C:\\a.dll", "i*i"));
    EXPECT_TRUE(ini.IsBadFileName("表|ソ", true));
    ini.SetINIFilePath("C:\\Tools\\Vexaro.dll");
    ini.SetINIFilePath("Vexaro.dll");
    EXPECT_STREQ("C:\\Tools\\Vexaro.dll", ini.GetIniPathField());
    ASSERT_EQ(3u, boxes.Boxes().size());
    EXPECT_EQ("変更拡張子名に不正な文字が含まれています！！\n（FncChgFileType）", boxes.Boxes()[0].text);
    EXPECT_EQ("「 表|ソ 」 は、不正なファイル名又は、フォルダ名です！！\n\n以下の半角記号は、含めないで下さい。\n\n"
              "  \\ / : ; * ? \" < > |", boxes.Boxes()[1].text);
    EXPECT_EQ("ファイルパスが不正です！！\n（SetINIFilePath）", boxes.Boxes()[2].text);
    for (const auto& box : boxes.Boxes()) EXPECT_EQ("unit_tests.exe", box.caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), boxes.Boxes()[0].style);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.Boxes()[2].style);
    std::string longName = "|";   // the message keeps within 1000 bytes, cut between characters
    while (longName.size() < 2000) longName += "表";
    ini.IsBadFileName(longName.c_str(), true);
    EXPECT_EQ(999u, boxes.Boxes().at(3).text.size());
    ini.SetINIFilePath("");
    EXPECT_STREQ("", ini.GetIniPathField());
}

TEST(IniFile, ReadsAndWritesLandInAppSettingBesideThePath)
{
    TempFolder folder;
    std::string dir = folder.Own("ソ表");
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    std::string file = folder.Own("ソ表\\表ソ.ini");
    IniFile ini;
    ini.SetINIFilePath((dir + "\\表ソ.dll").c_str());
    EXPECT_EQ(file, ini.GetINIFilePath());
    int top = 0;
    EXPECT_FALSE(ini.ReadInt("StrConvDlg_Top", &top, 0, 260));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));   // its folder probed, nothing left
    EXPECT_TRUE(ini.WriteInt("StrConvDlg_Top", -3));
    EXPECT_TRUE(ini.WriteString("StrConvDlg_ChkVal8", "1"));
    EXPECT_FALSE(ini.WriteString(nullptr, "x"));   // would address the whole section
    EXPECT_EQ("[AppSetting]\r\nStrConvDlg_Top=-3\r\nStrConvDlg_ChkVal8=1\r\n", FileBytes(file));

    file = folder.Own("ソ表\\read.ini");   // one the profile functions have not seen yet
    ini.SetINIFilePath((dir + "\\read.dll").c_str());
    std::ofstream(file, std::ios::binary) << "[Other]\r\nZero=5\r\n[AppSetting]\r\nZero=0\r\nDouble=00\r\nAbc=abc\r\n"
        "Empty=\r\nNeg=-15\r\nSpace=\" 7\"\r\nPx=25px\r\nOver=2147483648\r\nLong=12" << std::string(400, 'x') << "\r\n";
    const std::pair<const char*, int> cases[] = {{"Zero", 0}, {"Double", -1}, {"Abc", -1}, {"Empty", -1},
        {"Neg", -15}, {"Space", 7}, {"Px", 25}, {"Over", -1}, {"Missing", -1}, {"Long", 12}};
    for (const auto& c : cases) {
        int value = 99;
        EXPECT_EQ(c.second != -1, ini.ReadInt(c.first, &value, -1, 4096)) << c.first;
        EXPECT_EQ(c.second, value) << c.first;
    }
    char text[260] = "";
    EXPECT_EQ(4u, ini.ReadString("Missing", text, "dflt", sizeof text));
    EXPECT_STREQ("dflt", text);

    IniFile unset;   // no path: the executable's, with ".ini"
    file = std::string(unset.GetModulePathField()).replace(strlen(unset.GetModulePathField()) - 3, 3, "ini");
    EXPECT_EQ(file, unset.GetINIFilePath());
    EXPECT_TRUE(unset.WriteInt("StrConvDlg_Left", 17));
    EXPECT_EQ("[AppSetting]\r\nStrConvDlg_Left=17\r\n", FileBytes(file));
    DeleteFileA(file.c_str());
}

TEST(IniFile, UnusableOrUnwritablePlaces)
{
    IniFile ini;
    int value = 0;
    char text[260] = "junk";
    ini.SetINIFilePath(("C:\\" + std::string(255, 'a')).c_str());   // no room for ".ini"
    EXPECT_STREQ("", ini.GetINIFilePath());
    EXPECT_FALSE(ini.WriteInt("StrConvDlg_Top", 5));
    EXPECT_FALSE(ini.ReadInt("StrConvDlg_Top", &value, 33, 260));
    EXPECT_EQ(33, value);
    EXPECT_EQ(0u, ini.ReadString("StrConvDlg_Top", text, "dflt", sizeof text));
    EXPECT_STREQ("", text);

    TempFolder folder;
    // A folder that cannot take the file: the user's own folder takes it, and gives it back.
    ini.SetINIFilePath((folder.path + "\\missing\\Vexaro.dll").c_str());
    EXPECT_TRUE(ini.WriteInt("StrConvDlg_Top", 5));
    char appData[MAX_PATH] = "";
    GetEnvironmentVariableA("APPDATA", appData, sizeof appData);
    const std::string user = std::string(appData) + "\\Vexaro\\Vexaro.ini";
    wchar_t wideAppData[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"APPDATA", wideAppData, MAX_PATH);
    EXPECT_EQ(std::wstring(wideAppData) + L"\\Vexaro\\Vexaro.ini", ini.GetUserINIFilePath(false));
    EXPECT_TRUE(ini.ReadInt("StrConvDlg_Top", &value, 0, 260));
    EXPECT_EQ(5, value);
    EXPECT_EQ("[AppSetting]\r\nStrConvDlg_Top=5\r\n", FileBytes(user));
    DeleteFileA(user.c_str());
    std::string file = folder.Own("Vexaro.ini");
    std::ofstream(file, std::ios::binary) << "[AppSetting]\r\nStrConvDlg_Top=1\r\n";
    ini.SetINIFilePath((folder.path + "\\Vexaro.dll").c_str());
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(ini.WriteInt("StrConvDlg_Top", 5));   // another program holds it unshared
    CloseHandle(held);
    EXPECT_EQ("[AppSetting]\r\nStrConvDlg_Top=1\r\n", FileBytes(file));

    // Read-only: Windows refuses to replace such a file (the value then goes to the user's file)
    // but not to fill such a folder; Wine run as root does both.
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    bool written = ini.WriteInt("StrConvDlg_Top", 5);
    EXPECT_TRUE(written);
    EXPECT_TRUE(ini.ReadInt("StrConvDlg_Top", &value, 0, 260));
    EXPECT_EQ(5, value);
    DeleteFileA(user.c_str());
    std::string locked = folder.Own("locked");
    CreateDirectoryA(locked.c_str(), nullptr);
    folder.Own("locked\\Vexaro.ini");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    ini.SetINIFilePath((locked + "\\Vexaro.dll").c_str());
    bool lockedWritten = ini.WriteInt("StrConvDlg_Top", 6);
    EXPECT_EQ(lockedWritten, ini.ReadInt("StrConvDlg_Top", &value, 0, 260));
    RecordProperty("read_only_file_folder", std::to_string(written) + std::to_string(lockedWritten));
}
