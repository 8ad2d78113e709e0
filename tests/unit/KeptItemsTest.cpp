// The kept-items file, against real files in a folder of our own whose name has characters that
// end in the byte of a backslash.
#include <gtest/gtest.h>
#include "cliplist/KeptItems.h"
#include "support/ImportPatch.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;
using Names = std::vector<std::wstring>;

// The file's bytes, or "<none>" when there is no such file.
std::string Bytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<none>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes.substr(0, got);
}

void Put(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

struct Folder {
    Folder()
    {
        wchar_t temp[MAX_PATH];
        path = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"vx-kept-ソ表-" + std::to_wstring(GetCurrentProcessId());
        file = path + L"\\Vexaro-clips.txt";
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~Folder()
    {
        for (const std::wstring& name : Files()) DeleteFileW((path + L"\\" + name).c_str());
        RemoveDirectoryW(path.c_str());
    }
    // The names of the files in the folder, sorted.
    Names Files() const
    {
        Names names;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
        for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
        }
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::wstring path;
    std::wstring file;
};

Texts ItemsOf(const CDimPack& pack)
{
    Texts texts;
    for (int i = 0; i < pack.GetCount(); ++i) texts.push_back(pack.GetAt(i));
    return texts;
}

KeptWrite Write(const std::wstring& path, const Texts& texts)
{
    std::vector<const char*> pointers;
    for (const std::string& text : texts) pointers.push_back(text.c_str());
    return WriteKeptItems(path.c_str(), pointers.data(), static_cast<int>(pointers.size()));
}

// Reads the file; the items into `items`, the name of a file set aside into `aside`.
KeptRead Read(const std::wstring& path, Texts& items, std::wstring& aside, KeptProblem& problem)
{
    CDimPack pack;
    pack.Add("left over");
    wchar_t name[MAX_PATH] = L"junk";
    KeptRead outcome = ReadKeptItems(path.c_str(), pack, name, MAX_PATH, &problem);
    items = ItemsOf(pack);
    aside = name;
    return outcome;
}

Texts ReadBack(const std::wstring& path, KeptRead expected = KeptRead::read)
{
    Texts items;
    std::wstring aside;
    KeptProblem problem;
    EXPECT_EQ(expected, Read(path, items, aside, problem));
    return items;
}

} // namespace

TEST(KeptItems, WhatIsWrittenComesBackByteForByte)
{
    Folder folder;
    std::string big;   // 5000 bytes: 500 times 表 ソ \ space tab CR LF x
    while (big.size() < 5000) big += "表ソ\\ \t\r\nx";
    const Texts hard = {"line one\r\nline two", "a\tb", "表", "ソ\\n", "  leading and trailing  ", big, "lone\rCR",
                        "lone\nLF", "\\", "\\r", "cut after a lead byte \x82", "\x82\n", " ", "\t", "\x01\x1f\x7f\x80\xa0\xfd\xff",
                        "ｶﾀｶﾅ \"'#;[]", "全角　"};
    ASSERT_EQ(5000u, big.size());
    ASSERT_EQ(KeptWrite::written, Write(folder.file, hard));
    EXPECT_EQ(hard, ReadBack(folder.file));
    EXPECT_EQ(Names{L"Vexaro-clips.txt"}, folder.Files());

    // The format itself: a second byte 0x5C stands as it is, the escapes are the documented ones.
    ASSERT_EQ(KeptWrite::written, Write(folder.file, {"表\r\n", "ソ\\b", "x\x82", "end ", "", "\x01"}));
    EXPECT_EQ("VexaroClips 1\r\n表\\r\\n\r\nソ\\\\b\r\nx\\x82\r\nend\\x20\r\n\\x01\r\n", Bytes(folder.file));
    CDimPack pack;
    pack.Add("ソ");
    ASSERT_EQ(KeptWrite::written, WriteKeptItems(folder.file.c_str(), pack));
    EXPECT_EQ("VexaroClips 1\r\nソ\r\n", Bytes(folder.file));
    ASSERT_EQ(KeptWrite::written, Write(folder.file, {}));
    EXPECT_EQ("VexaroClips 1\r\n", Bytes(folder.file));
    EXPECT_EQ(Texts{}, ReadBack(folder.file));
    EXPECT_EQ(Texts{}, ReadBack(folder.path + L"\\missing.txt", KeptRead::none));
    EXPECT_EQ(Texts{}, ReadBack(folder.path + L"\\no folder\\Vexaro-clips.txt", KeptRead::none));
}

TEST(KeptItems, HandEditsReadWithoutComplaint)
{
    Folder folder;
    // LF and lone CR line ends, blank lines (some with spaces), a header with a space after it,
    // lower-case hex, an item repeated in another case (the first stays), no last line break.
    const std::string edited = "VexaroClips 1 \n挨拶\n\n \t\n表ソ\\r\\nです\r\n\r\nSign\\x0d\\x0a\rHello\nhello\n  indented\nlast";
    Put(folder.file, edited);
    EXPECT_EQ((Texts{"挨拶", "表ソ\r\nです", "Sign\r\n", "Hello", "  indented", "last"}), ReadBack(folder.file));
    EXPECT_EQ(edited, Bytes(folder.file));
    Put(folder.file, "VexaroClips 1");
    EXPECT_EQ(Texts{}, ReadBack(folder.file));
}

namespace {

ImportPatch* writePatch = nullptr;
DWORD bytesBeforeFull = 0;

// The disk fills up after `bytesBeforeFull` bytes: those are written, then ERROR_DISK_FULL.
BOOL WINAPI WriteFileToAFullDisk(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    auto real = reinterpret_cast<decltype(&WriteFile)>(writePatch->Original());
    DWORD room = std::min(size, bytesBeforeFull);
    bytesBeforeFull -= room;
    if (room == size) return real(file, data, size, written, overlapped);
    real(file, data, room, written, overlapped);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

} // namespace

TEST(KeptItems, AWriteThatFailsLeavesTheOldFileAndNoOtherFile)
{
    Folder folder;
    ASSERT_EQ(KeptWrite::written, Write(folder.file, {"old item", "表"}));
    const std::string old = Bytes(folder.file);
    const Texts longer(200, "a new item that makes the file larger than the disk's room");
    {
        ImportPatch patch(GetModuleHandleW(nullptr), "kernel32.dll", "WriteFile", reinterpret_cast<void*>(&WriteFileToAFullDisk));
        ASSERT_TRUE(patch.Installed());
        writePatch = &patch;
        bytesBeforeFull = 4000;
        EXPECT_EQ(KeptWrite::failed, Write(folder.file, longer));
        EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
        EXPECT_EQ(0u, bytesBeforeFull);   // the new file did take bytes before the disk was full
    }
    EXPECT_EQ(old, Bytes(folder.file));
    EXPECT_EQ(Names{L"Vexaro-clips.txt"}, folder.Files());

    // Another program holds the file open: the move is refused.
    HANDLE held = CreateFileW(folder.file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(KeptWrite::failed, Write(folder.file, longer));
    CloseHandle(held);
    // Items the file cannot hold or read back: nothing is written.
    EXPECT_EQ(KeptWrite::badItem, Write(folder.file, {"fine", std::string(5001, 'a')}));
    EXPECT_EQ(KeptWrite::tooLarge, Write(folder.file, Texts(3400, std::string(5000, 'a'))));
    EXPECT_EQ(old, Bytes(folder.file));
    EXPECT_EQ(Names{L"Vexaro-clips.txt"}, folder.Files());
    ASSERT_EQ(KeptWrite::written, Write(folder.file, longer));
    EXPECT_EQ(Texts{"a new item that makes the file larger than the disk's room"}, ReadBack(folder.file));
}

TEST(KeptItems, AFileThatCannotBeReadIsSetAsideWithItsBytes)
{
    Folder folder;
    std::string huge = "VexaroClips 1\r\n";
    while (huge.size() <= kKeptFileLimit) huge += std::string(4000, 'h') + "\r\n";
    struct Case { std::string bytes; KeptFault fault; int line; };
    const Case cases[] = {
        {"VexaroClips 1\r\nfine\r\nbad \\q escape\r\n", KeptFault::badEscape, 3},
        {"VexaroClips 1\r\nfine\r\nends in a lead byte \x82\r\nfine too\r\n", KeptFault::brokenChar, 3},
        {"VexaroClips 1\n\\x00\n", KeptFault::badEscape, 2},
        {"VexaroClips 1\r\nend\\", KeptFault::badEscape, 2},
        {"VexaroClips 1\r\nzero" + std::string(1, '\0') + "byte\r\n", KeptFault::zeroByte, 2},
        {"VexaroClips 1\r\n" + std::string(5001, 'l') + "\r\n", KeptFault::longItem, 2},
        {"VexaroClips 2\r\nfine\r\n", KeptFault::otherVersion, 1},
        {"VexaroClips 10\r\n", KeptFault::otherVersion, 1},
        {"\xEF\xBB\xBFVexaroClips 1\r\n", KeptFault::notKept, 1},
        {"", KeptFault::notKept, 1},
        {huge, KeptFault::tooLarge, 0},
    };
    std::vector<std::pair<std::wstring, const Case*>> asides;
    Names asideNames;
    for (const Case& c : cases) {
        Put(folder.file, c.bytes);
        Texts items;
        std::wstring aside;
        KeptProblem problem;
        EXPECT_EQ(KeptRead::setAside, Read(folder.file, items, aside, problem)) << c.bytes.substr(0, 40);
        EXPECT_EQ(c.fault, problem.fault) << c.bytes.substr(0, 40);
        EXPECT_EQ(c.line, problem.line) << c.bytes.substr(0, 40);
        EXPECT_EQ(Texts{}, items);
        EXPECT_EQ("<none>", Bytes(folder.file));
        EXPECT_EQ(0u, aside.find(L"Vexaro-clips.aside-"));
        EXPECT_EQ(aside.size() - 4, aside.rfind(L".txt"));
        asides.emplace_back(aside, &c);
        asideNames.push_back(aside);
    }
    // Each under a name of its own (the same second gives "-2", "-3"...), with its bytes.
    for (const auto& aside : asides) EXPECT_EQ(aside.second->bytes, Bytes(folder.path + L"\\" + aside.first));
    std::sort(asideNames.begin(), asideNames.end());
    EXPECT_EQ(asideNames, folder.Files());

    // A file that can be neither read nor set aside is left where it is, and the caller told.
    const std::string damaged = "VexaroClips 1\r\n\\q\r\n";
    Put(folder.file, damaged);
    Texts items;
    std::wstring aside;
    KeptProblem problem;
    HANDLE held = CreateFileW(folder.file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(KeptRead::failed, Read(folder.file, items, aside, problem));   // read, but not renamed
    EXPECT_EQ(KeptFault::badEscape, problem.fault);
    CloseHandle(held);
    held = CreateFileW(folder.file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(KeptRead::failed, Read(folder.file, items, aside, problem));   // not even opened
    EXPECT_EQ(KeptFault::unreadable, problem.fault);
    CloseHandle(held);
    EXPECT_EQ(Texts{}, items);
    EXPECT_EQ(L"", aside);
    EXPECT_EQ(damaged, Bytes(folder.file));
}
