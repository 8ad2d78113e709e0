// The clip list kept across editor runs, for a user who turned it on: in Vexaro-clips.txt beside
// the settings file, written after every change and read by the first bar of a run.
#include "e2e/OptionsFixture.h"
#include "support/MessageBoxHook.h"
#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

const std::string kLong(5000, 'w');

class KeptList : public OptionsFixture {
protected:
    KeptList()
    {
        setup.text = "  spaces around  \r\ntab\there\r\n表ソ\\end\r\n" + kLong + "\r\nfirst line\r\nsecond line";
        std::string dll = DefaultPluginPath();
        folder = dll.substr(0, dll.find_last_of('\\') + 1);
        path = folder + "Vexaro-clips.txt";
    }
    void SetUp() override
    {
        RemoveKept();
        PaletteFixture::SetUp();
    }
    void TearDown() override
    {
        PaletteFixture::TearDown();
        RemoveKept();
    }
    void BeforeOpeningTheBar() override
    {
        if (keep) WriteSetting("ClipList_Keep", "1");
    }
    void WriteKept(const std::string& content) { std::ofstream(path, std::ios::binary) << content; }
    // The kept file and every file set aside from it.
    void RemoveKept()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "Vexaro-clips*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            DeleteFileA((folder + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::string Read(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The file a damaged one was set aside as, or "".
    std::string Aside()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "Vexaro-clips.aside-*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return "";
        FindClose(search);
        return folder + found.cFileName;
    }
    // The editor closed and started again: the library is loaded anew.
    void Restart()
    {
        Reopen(setup);
        OpenClipBar();
    }
    bool keep = true;
    std::string folder, path;
};

class KeptListOff : public KeptList {
protected:
    KeptListOff() { keep = false; }
};

TEST_F(KeptList, TheItemsComeBackByteForByteAndInOrderAfterARestart)
{
    for (int line = 0; line < 4; ++line) {
        SetCaret(line, 0);
        Press(40008);
    }
    Select({4, 0}, {5, 6});
    Press(40004);
    const std::vector<std::string> items = {"first line\r\nsecond", kLong, "表ソ\\end", "tab\there", "  spaces around  "};
    ASSERT_EQ(items, Items());
    EXPECT_EQ("VexaroClips 1\r\n", Read(path).substr(0, 15));
    Restart();
    EXPECT_EQ(items, Items());
    // Event 0x800 ends the run's items and leaves the file; the next bar has them again.
    Press(40009);
    SendEvent(0x800);
    const std::string kept = Read(path);
    EXPECT_EQ(items.size() + 1, static_cast<size_t>(std::count(kept.begin(), kept.end(), '\n')));
    OpenClipBar();
    EXPECT_EQ(items, Items());
    // Deleting every item asks, then empties the file too.
    MessageBoxHook boxes(Host().Plugins().at(0).module);
    boxes.QueueAnswer(IDYES);
    Press(40006);
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ("VexaroClips 1\r\n", Read(path));
}

TEST_F(KeptList, AHandEditedFileReadsAndADamagedOneIsSetAsideWithANote)
{
    // LF line ends, blank lines, no last line break, as an editor may leave them.
    WriteKept("VexaroClips 1\n\nalpha\n\nbe\\\\ta\ngamma");
    Restart();
    EXPECT_EQ((std::vector<std::string>{"alpha", "be\\ta", "gamma"}), Items());

    const std::string damaged = "VexaroClips 1\r\nbad \\q escape\r\n";
    WriteKept(damaged);
    Restart();
    EXPECT_TRUE(Items().empty());
    EXPECT_NE(std::string::npos, StatusText().find("Vexaro-clips.aside-")) << StatusText();
    ASSERT_NE("", Aside());
    EXPECT_EQ(damaged, Read(Aside()));
    // A new file starts with the next change; the one set aside stays.
    SetCaret(0, 0);
    Press(40008);
    EXPECT_EQ("VexaroClips 1\r\n  spaces around \\x20\r\n", Read(path));
    EXPECT_EQ(damaged, Read(Aside()));
}

TEST_F(KeptListOff, TurnedOnInMidRunTheUnreadFilesItemsGoBelowTheList)
{
    const std::string file = "VexaroClips 1\r\nfrom the file\r\ntab\there\r\n";
    WriteKept(file);
    Restart();
    SetCaret(1, 0);
    Press(40008);
    EXPECT_EQ(std::vector<std::string>{"tab\there"}, Items()) << "off: the file is not read";
    EXPECT_EQ(file, Read(path));
    RightClickMenu('S');
    EXPECT_EQ("1", ReadSetting("ClipList_Keep"));
    EXPECT_EQ((std::vector<std::string>{"tab\there", "from the file"}), Items());
    EXPECT_EQ(file.substr(0, 15) + "tab\there\r\nfrom the file\r\n", Read(path));
}

} // namespace
