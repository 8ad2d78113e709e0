// The settings file is anyone's to edit, delete or protect. The plug-in is loaded from a folder
// whose CP932 name has 0x5C as a second byte (表, ソ), under a file name that has one too, so
// every case also checks that the settings file is found beside it. Whatever the file holds, the
// palette opens on the screen with boxes ticked or not, nothing is reported, and what the palette
// saves is what it shows when it opens again.
#include "e2e/RobustFixture.h"
#include "support/ImportPatch.h"
#include <cstdlib>
#include <cstring>

namespace {

const int kPaletteBoxes[9] = {1003, 1004, 1005, 1006, 1007, 1012, 1008, 1011, 1010};

struct PaletteState {
    int left = 0;
    int top = 0;
    unsigned checks = 0; // bit i: box i of the settings order is ticked
    bool operator==(const PaletteState& o) const { return left == o.left && top == o.top && checks == o.checks; }
};

std::ostream& operator<<(std::ostream& out, const PaletteState& s)
{
    return out << "(" << s.left << ", " << s.top << ") checks 0x" << std::hex << s.checks << std::dec;
}

const int kRightEdge = -1000001; // expected left: flush with the right edge of the work area

struct SettingsCase {
    const char* what;
    const char* content; // nullptr: no file
    size_t size;         // bytes of content; 0: strlen
    PaletteState expected;
};

// Binary garbage without '=' or '[', so that no key can be read from it, and a zero inside.
const char kGarbage[] = "\xFF\xFE\x00\x01\x7F\x80\x81\x5C\xE0\x0D\x0D\x0A\xFC\x00\xFF\x9F\x40;\xEF\xBB\xBF StrConvDlg_Top 7\x0A\x00\x81";

const SettingsCase kCases[] = {
    {"no file", nullptr, 0, {0, 0, 0}},
    {"empty file", "", 0, {0, 0, 0}},
    {"binary garbage", kGarbage, sizeof kGarbage - 1, {0, 0, 0}},
    {"plain values", "[AppSetting]\r\nStrConvDlg_Top=60\r\nStrConvDlg_Left=40\r\nStrConvDlg_ChkVal0=1\r\n"
                     "StrConvDlg_ChkVal7=1\r\n", 0, {40, 60, 0x81}},
    {"huge numbers", "[AppSetting]\r\nStrConvDlg_Top=99999999999\r\nStrConvDlg_Left=2147483647\r\n"
                     "StrConvDlg_ChkVal0=4294967297\r\nStrConvDlg_ChkVal1=7\r\nStrConvDlg_ChkVal2=-1\r\n", 0,
     {kRightEdge, 0, 0x6}},
    {"far negative positions", "[AppSetting]\r\nStrConvDlg_Top=-30000\r\nStrConvDlg_Left=-2147483648\r\n", 0,
     {0, 0, 0}},
    {"slightly negative positions", "[AppSetting]\r\nStrConvDlg_Top=-5\r\nStrConvDlg_Left=-7\r\n", 0, {-7, -5, 0}},
    {"duplicated keys", "[AppSetting]\r\nStrConvDlg_ChkVal0=1\r\nStrConvDlg_ChkVal0=0\r\nStrConvDlg_Left=40\r\n"
                        "StrConvDlg_Left=80\r\nStrConvDlg_Top=10\r\n[AppSetting]\r\nStrConvDlg_Top=20\r\n", 0,
     {40, 10, 0x1}},
};

// Windows refuses to open a file whose read-only attribute is set for writing, to an
// administrator too; Wine run by root writes it all the same. While this lives, the plug-in's two
// ways of writing its settings are answered as Windows answers them.
class WindowsReadOnlyRule {
public:
    explicit WindowsReadOnlyRule(HMODULE plugin)
        : create(plugin, "kernel32.dll", "CreateFileA", reinterpret_cast<void*>(&Create)),
          write(plugin, "kernel32.dll", "WritePrivateProfileStringA", reinterpret_cast<void*>(&Write))
    {
        self = this;
    }
    ~WindowsReadOnlyRule() { self = nullptr; }
    bool Installed() const { return create.Installed() && write.Installed(); }

private:
    static bool ReadOnly(const char* path)
    {
        DWORD attributes = path != nullptr ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
               !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    static HANDLE WINAPI Create(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD how,
                                DWORD flags, HANDLE model)
    {
        if ((access & (GENERIC_WRITE | FILE_WRITE_DATA | FILE_APPEND_DATA)) && ReadOnly(path)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        return reinterpret_cast<decltype(&CreateFileA)>(self->create.Original())(path, access, share, security, how, flags, model);
    }
    static BOOL WINAPI Write(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file)
    {
        if (ReadOnly(file)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        return reinterpret_cast<decltype(&WritePrivateProfileStringA)>(self->write.Original())(section, key, value, file);
    }

    static inline WindowsReadOnlyRule* self = nullptr;
    ImportPatch create, write;
};

// Points the user's AppData folder elsewhere while it lives, as another user name would. Wine's
// folder lookup reads it from "User Shell Folders" each time and copies what it found into
// "Shell Folders"; both are put back.
class AppDataElsewhere {
public:
    explicit AppDataElsewhere(const std::wstring& folder)
    {
        for (Saved& value : values) {
            RegCreateKeyExW(HKEY_CURRENT_USER, value.key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                            &value.opened, nullptr);
            value.had = RegQueryValueExW(value.opened, L"AppData", nullptr, &value.type, value.data, &value.size) ==
                        ERROR_SUCCESS;
        }
        RegSetValueExW(values[0].opened, L"AppData", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    }
    ~AppDataElsewhere()
    {
        for (Saved& value : values) {
            if (value.had) RegSetValueExW(value.opened, L"AppData", 0, value.type, value.data, value.size);
            else RegDeleteValueW(value.opened, L"AppData");
            RegCloseKey(value.opened);
        }
    }

private:
    struct Saved {
        const wchar_t* key;
        HKEY opened = nullptr;
        bool had = false;
        DWORD type = 0;
        BYTE data[2 * MAX_PATH] = {};
        DWORD size = sizeof data;
    };
    Saved values[2] = {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"},
                       {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"}};
};

class BadSettings : public RobustFixture {
protected:
    BadSettings()
    {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "vexaro表示ソフト" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string library = folder + "\\Vexaroソ.dll";
        CopyFileA(DefaultPluginPath().c_str(), library.c_str(), FALSE);
        setup.pluginPath = library;
    }
    ~BadSettings() override
    {
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(IniPath().c_str());
        DeleteFileA(IniPath().c_str());
        DeleteFileA(UserIniPath().c_str());
        DeleteFileA(setup.pluginPath.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string IniPath() const { return folder + "\\Vexaroソ.ini"; }
    // Where the settings go when the library's folder cannot take them.
    static std::string UserIniPath()
    {
        char appData[MAX_PATH] = "";
        GetEnvironmentVariableA("APPDATA", appData, sizeof appData);
        return std::string(appData) + "\\Vexaro\\Vexaroソ.ini";
    }
    void WriteSettings(const char* content, size_t size, const std::string& path)
    {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        if (content == nullptr) return;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, content, static_cast<DWORD>(size), &written, nullptr);
        CloseHandle(file);
    }
    void WriteSettings(const char* content, size_t size) { WriteSettings(content, size, IniPath()); }
    std::string ReadSettings(const std::string& path)
    {
        std::string bytes;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return bytes;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        CloseHandle(file);
        return bytes;
    }
    std::string ReadSettings() { return ReadSettings(IniPath()); }
    PaletteState Shown()
    {
        PaletteState state;
        HWND palette = Palette();
        RECT r = {};
        GetWindowRect(palette, &r);
        state.left = r.left;
        state.top = r.top;
        for (int i = 0; i < 9; ++i) {
            if (SendDlgItemMessageA(palette, kPaletteBoxes[i], BM_GETCHECK, 0, 0) == BST_CHECKED) state.checks |= 1u << i;
        }
        return state;
    }
    PaletteState Saved()
    {
        PaletteState state;
        std::string file = IniPath();
        auto read = [&file](const char* key) {
            char text[64] = "";
            GetPrivateProfileStringA("AppSetting", key, "", text, sizeof text, file.c_str());
            return atoi(text);
        };
        state.left = read("StrConvDlg_Left");
        state.top = read("StrConvDlg_Top");
        for (int i = 0; i < 9; ++i) {
            if (read(("StrConvDlg_ChkVal" + std::to_string(i)).c_str()) == 1) state.checks |= 1u << i;
        }
        return state;
    }
    // Opens the palette, lets the user change a box and move it, closes it; returns what it showed
    // when it opened and what it showed when it closed.
    std::pair<PaletteState, PaletteState> OpenChangeClose()
    {
        Press(40011);
        EXPECT_NE(nullptr, Palette());
        PaletteState opened = Shown();
        HWND palette = Palette();
        RECT r = {};
        GetWindowRect(palette, &r);
        paletteWidth = r.right - r.left;
        SendDlgItemMessageA(palette, 1004, BM_SETCHECK, (opened.checks & 2) ? BST_UNCHECKED : BST_CHECKED, 0);
        SetWindowPos(palette, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        PaletteState closed = Shown();
        Press(40011);
        EXPECT_EQ(nullptr, Palette());
        return {opened, closed};
    }
    RECT WorkArea()
    {
        RECT work = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        return work;
    }
    std::string folder;
    int paletteWidth = 0;
};

TEST_F(BadSettings, WhateverTheFileHoldsThePaletteOpensOnScreenAndKeepsWhatItSaves)
{
    for (const SettingsCase& c : kCases) {
        SCOPED_TRACE(c.what);
        WriteSettings(c.content, c.size != 0 ? c.size : (c.content ? strlen(c.content) : 0));
        PaletteState expected = c.expected;
        auto [opened, closed] = OpenChangeClose();
        if (expected.left == kRightEdge) expected.left = WorkArea().right - paletteWidth;
        EXPECT_EQ(expected, opened);
        EXPECT_EQ(closed, Saved());
        Press(40011);
        EXPECT_EQ(closed, Shown());
        Press(40011);
    }
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
}

TEST_F(BadSettings, FileThatCannotBeWrittenIsLeftAsItWasWithoutAMessage)
{
    const char plain[] = "[AppSetting]\r\nStrConvDlg_Top=100\r\nStrConvDlg_Left=100\r\nStrConvDlg_ChkVal3=1\r\n";
    WriteSettings(plain, strlen(plain));
    SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
    WindowsReadOnlyRule rule(Host().Plugins().at(0).module);
    ASSERT_TRUE(rule.Installed());
    auto [opened, closed] = OpenChangeClose();
    EXPECT_EQ((PaletteState{100, 100, 0x8}), opened);
    EXPECT_EQ(plain, ReadSettings());
    // Refused beside the library, written into the user's own folder and read from there.
    DWORD attributes = GetFileAttributesA(UserIniPath().c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) << UserIniPath();
    Press(40011);
    EXPECT_EQ(closed, Shown());
    Press(40011);
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
}

TEST_F(BadSettings, SettingsTheLibrarysFolderCannotTakeGoToTheUsersFolderAndAreReadFromThere)
{
    // A folder where the file should be: it can be neither read nor written (and, unlike a
    // read-only file, Wine run as root cannot write it either).
    WriteSettings(nullptr, 0);
    ASSERT_TRUE(CreateDirectoryA(IniPath().c_str(), nullptr));
    auto [opened, closed] = OpenChangeClose();
    EXPECT_EQ((PaletteState{0, 0, 0}), opened);
    DWORD attributes = GetFileAttributesA(UserIniPath().c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) << UserIniPath();
    // After a restart of the editor too.
    ReopenHost(setup);
    OpenClipBar();
    Press(40011);
    EXPECT_EQ(closed, Shown());
    Press(40011);

    // Once the library's folder takes the file again, the file there is the first choice.
    RemoveDirectoryA(IniPath().c_str());
    const char plain[] = "[AppSetting]\r\nStrConvDlg_Top=60\r\nStrConvDlg_Left=40\r\n";
    WriteSettings(plain, strlen(plain));
    std::tie(opened, closed) = OpenChangeClose();
    EXPECT_EQ((PaletteState{40, 60, 0}), opened);
    EXPECT_EQ(closed, Saved());
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
}

TEST_F(BadSettings, ReadOnlyFolderStillTakesTheFile)
{
    // The read-only attribute of a folder does not protect the files in it.
    WriteSettings(nullptr, 0);
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_READONLY);
    auto [opened, closed] = OpenChangeClose();
    EXPECT_EQ((PaletteState{0, 0, 0}), opened);
    EXPECT_EQ(closed, Saved());
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
}

TEST_F(BadSettings, AUserFolderCodePage932CannotNameKeepsTheSettings)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    std::wstring appData = std::wstring(temp) + L"vexaro\uD55C" + std::to_wstring(GetCurrentProcessId());
    BOOL lacking = FALSE;   // 한 has no code page 932 form, not even a look-alike
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, appData.c_str(), -1, nullptr, 0, nullptr, &lacking);
    ASSERT_TRUE(lacking);
    ASSERT_TRUE(CreateDirectoryW(appData.c_str(), nullptr));
    const std::wstring user = appData + L"\\Vexaro\\Vexaro\u30BD.ini";
    {
        AppDataElsewhere elsewhere(appData);
        WriteSettings(nullptr, 0);
        ASSERT_TRUE(CreateDirectoryA(IniPath().c_str(), nullptr));
        auto [opened, closed] = OpenChangeClose();
        EXPECT_EQ((PaletteState{0, 0, 0}), opened);
        Press(40011);
        EXPECT_EQ(closed, Shown());
        Press(40011);
        DWORD attributes = GetFileAttributesW(user.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY));
    }
    DeleteFileW(user.c_str());
    RemoveDirectoryW((appData + L"\\Vexaro").c_str());
    RemoveDirectoryW(appData.c_str());
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
}

TEST_F(BadSettings, APerUserFileIsNotReadWhileTheLibrarysFolderTakesTheFile)
{
    // Left from a time the library's folder could not take the file.
    const char stale[] = "[AppSetting]\r\nStrConvDlg_Top=300\r\nStrConvDlg_Left=200\r\nStrConvDlg_ChkVal0=1\r\n";
    CreateDirectoryA(UserIniPath().substr(0, UserIniPath().rfind('\\')).c_str(), nullptr);
    WriteSettings(stale, strlen(stale), UserIniPath());
    // No file beside the library, in a folder that takes one: a fresh start, saved there.
    WriteSettings(nullptr, 0);
    auto [opened, closed] = OpenChangeClose();
    EXPECT_EQ((PaletteState{0, 0, 0}), opened);
    EXPECT_EQ(closed, Saved());

    // Held a moment by a program that lets others only read it: still the file read, and a
    // closing that cannot write it moves nothing to the user's file.
    const char plain[] = "[AppSetting]\r\nStrConvDlg_Top=60\r\nStrConvDlg_Left=40\r\nNote=kept\r\n";
    WriteSettings(plain, strlen(plain));
    HANDLE held = CreateFileA(IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    std::tie(opened, closed) = OpenChangeClose();
    CloseHandle(held);
    EXPECT_EQ((PaletteState{40, 60, 0}), opened);
    EXPECT_EQ(plain, ReadSettings());
    // Let go, it takes the palette's own keys and keeps the others.
    std::tie(opened, closed) = OpenChangeClose();
    EXPECT_EQ((PaletteState{40, 60, 0}), opened);
    EXPECT_EQ(closed, Saved());
    EXPECT_NE(std::string::npos, ReadSettings().find("\r\nNote=kept\r\n"));
    EXPECT_EQ(stale, ReadSettings(UserIniPath()));
    EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes().front().text;
}

} // namespace
