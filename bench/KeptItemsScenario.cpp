// Item 7: the kept-items file written with 1,000 items. The DLL does not export the file's
// module, so the benchmark links the product's own code (cliplist/KeptItems.cpp in vexaro_core,
// the library the DLL is made of) and calls it directly: the same code, built the same way.
#include "bench/Scenarios.h"
#include "cliplist/KeptItems.h"
#include <cstdio>

namespace {

const int kKeptItems = 1000;

// Fixed phrases as they are kept: Japanese and ASCII, line breaks, tabs, backslashes and
// second bytes 0x5C, distinct.
std::vector<std::string> KeptTexts()
{
    std::vector<std::string> texts;
    for (int i = 0; i < kKeptItems; ++i) {
        texts.push_back(Format("定型文 %04d: いつもお世話になっております。\r\n株式会社ソ表 営業部\tC:\\Users\\表\\%d.txt", i, i));
    }
    return texts;
}

std::string FileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes.substr(0, got);
}

// The bare calls for the same file: a new file beside the target, one WriteFile of the bytes,
// closed, moved over the target as the module moves it. The flush the module does before the move
// is timed apart, as a step the module must do on top (`flushMs`).
double BareWrite(const std::wstring& temp, const std::wstring& target, const std::string& bytes, double& flushMs, bool& ok)
{
    Stopwatch watch;
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ok = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
    double ms = watch.ElapsedMs();
    Stopwatch flush;
    ok = ok && FlushFileBuffers(file);
    flushMs = flush.ElapsedMs();
    watch.Restart();
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return ms + watch.ElapsedMs();
}

} // namespace

void RunKeptWrite(const BenchConfig& config, BenchResults& results)
{
    wchar_t temp[MAX_PATH];
    std::wstring folder = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"vexaro-bench-kept-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring kept = folder + L"\\Vexaro-clips.txt";
    const std::wstring bare = folder + L"\\bare.txt";
    const std::wstring bareTemp = folder + L"\\bare.txt.tmp";

    std::vector<std::string> texts = KeptTexts();
    std::vector<const char*> pointers;
    for (const std::string& text : texts) pointers.push_back(text.c_str());
    bool written = WriteKeptItems(kept.c_str(), pointers.data(), kKeptItems) == KeptWrite::written;
    const std::string bytes = FileBytes(kept);
    double flushMs = 0;
    bool bareOk = false;
    BareWrite(bareTemp, bare, bytes, flushMs, bareOk);   // both targets exist from here on: every round replaces
    results.keptBytes = bytes.size();

    std::vector<double> mine, bareMs, flushes;
    // Each round writes both, in turns first, so that neither always follows the other's flush
    // and rename.
    for (int rep = 0; rep < config.commandReps; ++rep) {
        for (int turn = 0; turn < 2; ++turn) {
            if ((rep + turn) % 2 == 0) {
                Stopwatch watch;
                written = WriteKeptItems(kept.c_str(), pointers.data(), kKeptItems) == KeptWrite::written && written;
                mine.push_back(watch.ElapsedMs());
            } else {
                bool ok = false;
                bareMs.push_back(BareWrite(bareTemp, bare, bytes, flushMs, ok));
                flushes.push_back(flushMs);
                bareOk = bareOk && ok;
            }
        }
    }
    results.keptWrite = Summarize(mine);
    results.keptBare = Summarize(bareMs);
    results.keptFlush = Summarize(flushes);
    printf("kept items: %d items, %zu bytes: written %s, bare %s, flush %s\n", kKeptItems, bytes.size(),
           Describe(results.keptWrite).c_str(), Describe(results.keptBare).c_str(), Describe(results.keptFlush).c_str());

    Check(results, written && bareOk, "every write of the kept items and of the bare file succeeded");
    Check(results, FileBytes(bare) == bytes, "the bare file holds the same bytes");
    CDimPack back;
    bool read = ReadKeptItems(kept.c_str(), back, nullptr, 0) == KeptRead::read && back.GetCount() == kKeptItems;
    for (int i = 0; read && i < kKeptItems; ++i) read = texts[static_cast<size_t>(i)] == back.GetAt(i);
    Check(results, read, "the kept items read back as written");
    DeleteFileW(kept.c_str());
    DeleteFileW(bare.c_str());
    RemoveDirectoryW(folder.c_str());
}
