#include "cliplist/KeptItems.h"
#include "cliplist/ItemKeys.h"
#include "common/Memory.h"
#include "common/Sjis.h"
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

const char kHeader[] = "VexaroClips 1";
const size_t kHeaderPrefixLength = 12;   // "VexaroClips ", what every version's first line starts with
const size_t kItemLimit = 5000;
const char kHexDigits[] = "0123456789ABCDEF";

// ---- Writing ------------------------------------------------------------------------------

// What a byte is to the writer, from the code page's rules in common/Sjis.h, looked up in a
// table: the file is written after every change of the list, so its thousand items are escaped
// without a call per byte.
enum : unsigned char { kLead = 1, kTrail = 2, kEscaped = 4, kBlank = 8 };

// kEscaped: written as \\, \r, \n or \xHH, never as it is: the backslash, CR, LF, and the bytes an
// editor may not keep as they are (control bytes but tab, 7F, 80, A0, FD-FF). kBlank: a space or
// tab, written as \xHH where it ends the item.
const unsigned char* ByteKinds()
{
    static unsigned char kinds[256];
    static bool made = false;
    if (!made) {
        for (int c = 0; c < 256; ++c) {
            unsigned char byte = static_cast<unsigned char>(c);
            unsigned char kind = 0;
            if (SjisIsLeadByte(byte)) kind |= kLead;
            if (SjisIsTrailByte(byte)) kind |= kTrail;
            if (c == '\\' || (c < 0x20 && c != '\t') || c == 0x7F || c == 0x80 || c == 0xA0 || c >= 0xFD) kind |= kEscaped;
            if (c == ' ' || c == '\t') kind |= kBlank;
            kinds[c] = kind;
        }
        made = true;
    }
    return kinds;
}

// The file's bytes counted, or written into an image of the counted size.
struct Counter {
    size_t length = 0;
    void Put(const char*, size_t n) { length += n; }
};
struct Writer {
    char* image;
    size_t length = 0;
    void Put(const char* text, size_t n)
    {
        memcpy(image + length, text, n);
        length += n;
    }
};

template <class Output>
void EncodeItem(const char* text, size_t n, Output& out)
{
    const unsigned char* kinds = ByteKinds();
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < n) {
        // The run of bytes that stand as they are, whole double-byte characters among them (their
        // second byte may be 0x5C), copied in one go.
        size_t start = i;
        while (i < n) {
            unsigned char kind = kinds[s[i]];
            if ((kind & (kLead | kEscaped | kBlank)) == 0 || ((kind & kBlank) && i + 1 < n)) {
                ++i;
            } else if ((kind & kLead) && i + 1 < n && (kinds[s[i + 1]] & kTrail)) {
                i += 2;
            } else {
                break;
            }
        }
        out.Put(text + start, i - start);
        if (i == n) break;
        // A byte that cannot stand as it is: a lead byte without its second byte, a space or tab
        // that ends the item, or an escaped byte.
        unsigned char c = s[i++];
        if (c == '\\') {
            out.Put("\\\\", 2);
        } else if (c == '\r') {
            out.Put("\\r", 2);
        } else if (c == '\n') {
            out.Put("\\n", 2);
        } else {
            const char hex[4] = {'\\', 'x', kHexDigits[c >> 4], kHexDigits[c & 15]};
            out.Put(hex, 4);
        }
    }
}

// The items to write: an array of texts or a list.
struct ItemSource {
    const char* const* texts;
    const CDimPack* pack;
    int count;
    const char* At(int i) const
    {
        if (pack != nullptr) return pack->GetAt(i);
        return texts[i] != nullptr ? texts[i] : "";
    }
};

// The whole file into `out`. False for an item over the limit.
template <class Output>
bool EncodeFile(const ItemSource& items, Output& out)
{
    out.Put(kHeader, sizeof kHeader - 1);
    out.Put("\r\n", 2);
    for (int i = 0; i < items.count; ++i) {
        const char* text = items.At(i);
        size_t n = strlen(text);
        if (n == 0) continue;
        if (n > kItemLimit) return false;
        EncodeItem(text, n, out);
        out.Put("\r\n", 2);
    }
    return true;
}

// A wide text built in a heap block of `room` characters; null once memory runs out or the room
// is too small.
class WidePath {
public:
    explicit WidePath(size_t room) { ok = text.Allocate(room); }
    void Append(const wchar_t* s, size_t n)
    {
        if (!ok || length + n >= text.Size()) {
            ok = false;
            return;
        }
        wmemcpy(text.Data() + length, s, n);
        length += n;
        text[length] = L'\0';
    }
    void Append(const wchar_t* s) { Append(s, wcslen(s)); }
    // `value` in decimal (`width` digits at least) or in hex.
    void AppendNumber(unsigned long value, int width, bool hex = false)
    {
        wchar_t digits[16];
        int n = 0;
        unsigned base = hex ? 16 : 10;
        do {
            digits[n++] = static_cast<wchar_t>(kHexDigits[value % base]);
            value /= base;
        } while (value != 0 && n < 16);
        while (n < width && n < 16) digits[n++] = L'0';
        wchar_t ordered[16];
        for (int i = 0; i < n; ++i) ordered[i] = digits[n - 1 - i];
        Append(ordered, static_cast<size_t>(n));
    }
    const wchar_t* Text() const { return ok ? text.Data() : nullptr; }
    size_t Length() const { return length; }

private:
    MemArray<wchar_t> text;
    size_t length = 0;
    bool ok = false;
};

unsigned long tempCounter = 0;

// A new file beside `path`, made with CREATE_NEW under a name no one else has, or
// INVALID_HANDLE_VALUE (the last error says why); `name` gets its path.
HANDLE CreateTempBeside(const wchar_t* path, MemArray<wchar_t>& name)
{
    size_t pathLength = wcslen(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        WidePath temp(pathLength + 40);
        temp.Append(path, pathLength);
        temp.Append(L".");
        temp.AppendNumber(GetCurrentProcessId(), 1, true);
        temp.Append(L"-");
        temp.AppendNumber(tempCounter++, 1, true);
        temp.Append(L".tmp");
        if (temp.Text() == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return INVALID_HANDLE_VALUE;
        }
        HANDLE file = CreateFileW(temp.Text(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            if (!name.Allocate(temp.Length() + 1)) {
                CloseHandle(file);
                DeleteFileW(temp.Text());
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return INVALID_HANDLE_VALUE;
            }
            wmemcpy(name.Data(), temp.Text(), temp.Length() + 1);
            return file;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

// Every byte of the image (at most 16 MB), or false with the system's reason.
bool WriteAll(HANDLE file, const char* bytes, size_t length)
{
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes += written;
        length -= written;
    }
    return true;
}

KeptWrite WriteFileImage(const wchar_t* path, const ItemSource& items)
{
    if (path == nullptr || path[0] == L'\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return KeptWrite::failed;
    }
    Counter measure;
    if (!EncodeFile(items, measure)) return KeptWrite::badItem;
    if (measure.length > kKeptFileLimit) return KeptWrite::tooLarge;
    MemArray<char> image;
    if (!image.Allocate(measure.length)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return KeptWrite::failed;
    }
    Writer out = {image.Data()};
    EncodeFile(items, out);

    MemArray<wchar_t> temp;
    HANDLE file = CreateTempBeside(path, temp);
    if (file == INVALID_HANDLE_VALUE) return KeptWrite::failed;
    // Flushed before the move: the file that takes the old one's place is complete on the disk.
    bool done = WriteAll(file, image.Data(), out.length) && FlushFileBuffers(file);
    DWORD error = GetLastError();
    if (!CloseHandle(file) && done) {
        done = false;
        error = GetLastError();
    }
    // One rename, which happens or not (ReplaceFileW has failures after which the old file is gone
    // from its name), and which also makes the first file. Windows refuses to replace a read-only
    // file (ERROR_ACCESS_DENIED), so a file the user made read-only is kept; Wine replaces it.
    if (done && MoveFileExW(temp.Data(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return KeptWrite::written;
    if (done) error = GetLastError();
    DeleteFileW(temp.Data());
    SetLastError(error);
    return KeptWrite::failed;
}

// ---- Reading ------------------------------------------------------------------------------

struct Parse {
    KeptFault fault = KeptFault::none;
    int line = 0;
};

int HexValue(unsigned char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Where the line starting at `from` ends: the first CR or LF that is not the second byte of a
// character (neither ever is one, but the scan goes by characters all the same).
size_t LineEnd(const unsigned char* s, size_t from, size_t size)
{
    size_t i = from;
    while (i < size && s[i] != '\r' && s[i] != '\n') {
        i += SjisIsLeadByte(s[i]) && i + 1 < size && SjisIsTrailByte(s[i + 1]) ? 2 : 1;
    }
    return i;
}

// Just past the line end at `end` (CR LF, LF or CR), or `size`.
size_t NextLine(const unsigned char* s, size_t end, size_t size)
{
    if (end >= size) return size;
    if (s[end] == '\r' && end + 1 < size && s[end + 1] == '\n') return end + 2;
    return end + 1;
}

bool OnlySpaces(const unsigned char* s, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (s[i] != ' ' && s[i] != '\t') return false;
    }
    return true;
}

// One line's item into `item` (room for kItemLimit bytes); its length, or a fault.
KeptFault DecodeItem(const unsigned char* s, size_t n, char* item, size_t& length)
{
    length = 0;
    for (size_t i = 0; i < n;) {
        unsigned char c = s[i];
        unsigned char decoded[2];
        size_t count = 1;
        if (SjisIsLeadByte(c)) {
            if (i + 1 >= n || !SjisIsTrailByte(s[i + 1])) return KeptFault::brokenChar;
            decoded[0] = c;
            decoded[1] = s[i + 1];
            count = 2;
            i += 2;
        } else if (c == '\\') {
            unsigned char e = i + 1 < n ? s[i + 1] : 0;
            if (e == '\\' || e == 'r' || e == 'n') {
                decoded[0] = e == 'r' ? '\r' : e == 'n' ? '\n' : '\\';
                i += 2;
            } else if (e == 'x' && i + 3 < n && HexValue(s[i + 2]) >= 0 && HexValue(s[i + 3]) >= 0) {
                int value = HexValue(s[i + 2]) * 16 + HexValue(s[i + 3]);
                if (value == 0) return KeptFault::badEscape;
                decoded[0] = static_cast<unsigned char>(value);
                i += 4;
            } else {
                return KeptFault::badEscape;
            }
        } else if (c == 0) {
            return KeptFault::zeroByte;
        } else {
            decoded[0] = c;
            ++i;
        }
        if (length + count > kItemLimit) return KeptFault::longItem;
        memcpy(item + length, decoded, count);
        length += count;
    }
    return KeptFault::none;
}

// The header's fault, if any: "VexaroClips 1", maybe followed by spaces and tabs.
KeptFault CheckHeader(const unsigned char* s, size_t n)
{
    const size_t headerLength = sizeof kHeader - 1;
    if (n < kHeaderPrefixLength || memcmp(s, kHeader, kHeaderPrefixLength) != 0) return KeptFault::notKept;
    if (n < headerLength || memcmp(s, kHeader, headerLength) != 0) return KeptFault::otherVersion;
    return OnlySpaces(s + headerLength, n - headerLength) ? KeptFault::none : KeptFault::otherVersion;
}

// The items of a file image, in file order, appended to `items`.
Parse ParseImage(const unsigned char* s, size_t size, CDimPack& items)
{
    Parse result;
    size_t end = LineEnd(s, 0, size);
    result.line = 1;
    result.fault = CheckHeader(s, end);
    if (result.fault != KeptFault::none) return result;
    char item[kItemLimit];
    for (size_t at = NextLine(s, end, size); at < size; at = NextLine(s, end, size)) {
        ++result.line;
        end = LineEnd(s, at, size);
        if (OnlySpaces(s + at, end - at)) continue;
        size_t length = 0;
        result.fault = DecodeItem(s + at, end - at, item, length);
        if (result.fault != KeptFault::none) return result;
        if (!items.Add(item, length)) {
            result.fault = KeptFault::noMemory;
            return result;
        }
    }
    result.line = 0;
    return result;
}

// Text indexes in the order of their keys; equal keys in list order.
struct ByKeyThenIndex {
    const MemArray<ItemKey>* keys;
    bool operator()(int a, int b) const
    {
        int order = CompareSortKeys((*keys)[static_cast<size_t>(a)], (*keys)[static_cast<size_t>(b)]);
        return order != 0 ? order < 0 : a < b;
    }
};

// `items` without those equal (letter case ignored, as the list compares) to one above them.
// False when memory runs out or a key cannot be made.
bool DropRepeats(CDimPack& items)
{
    int count = items.GetCount();
    if (count < 2) return true;
    size_t n = static_cast<size_t>(count);
    MemArray<ItemKey> keys;
    MemArray<int> order;
    MemArray<bool> dropped;
    if (!keys.Allocate(n) || !order.Allocate(n) || !dropped.Allocate(n)) return false;
    LCID locale = GetUserDefaultLCID();
    bool made = true;
    for (int i = 0; i < count && made; ++i) {
        made = MakeItemKey(locale, items.GetAt(i), keys[static_cast<size_t>(i)]);
        order[static_cast<size_t>(i)] = i;
    }
    int drops = 0;
    if (made) {
        std::sort(order.Data(), order.Data() + n, ByKeyThenIndex{&keys});
        for (size_t r = 0; r < n;) {
            const ItemKey& first = keys[static_cast<size_t>(order[r])];
            size_t next = r + 1;
            for (; next < n && CompareSortKeys(keys[static_cast<size_t>(order[next])], first) == 0; ++next) {
                int index = order[next];
                if (!SameItem(locale, keys[static_cast<size_t>(index)], first)) continue;
                dropped[static_cast<size_t>(index)] = true;
                ++drops;
            }
            r = next;
        }
    }
    for (size_t i = 0; i < n; ++i) FreeItemKey(keys[i]);
    if (!made) return false;
    if (drops == 0) return true;
    CDimPack kept;
    for (int i = 0; i < count; ++i) {
        if (!dropped[static_cast<size_t>(i)] && !kept.Add(items.GetAt(i))) return false;
    }
    items.Swap(kept);
    return true;
}

// Renames `path` aside in its folder; the new file name (without the folder) into `asideName`.
bool SetAside(const wchar_t* path, wchar_t* asideName, size_t asideCapacity)
{
    size_t pathLength = wcslen(path);
    size_t nameStart = pathLength;
    while (nameStart > 0 && path[nameStart - 1] != L'\\' && path[nameStart - 1] != L'/') --nameStart;
    size_t dot = pathLength;
    for (size_t i = nameStart + 1; i < pathLength; ++i) {
        if (path[i] == L'.') dot = i;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (unsigned n = 1; n < 100; ++n) {
        WidePath aside(pathLength + 40);
        aside.Append(path, dot);
        aside.Append(L".aside-");
        aside.AppendNumber(now.wYear, 4);
        aside.AppendNumber(now.wMonth, 2);
        aside.AppendNumber(now.wDay, 2);
        aside.Append(L"-");
        aside.AppendNumber(now.wHour, 2);
        aside.AppendNumber(now.wMinute, 2);
        aside.AppendNumber(now.wSecond, 2);
        if (n > 1) {
            aside.Append(L"-");
            aside.AppendNumber(n, 1);
        }
        aside.Append(path + dot, pathLength - dot);
        if (aside.Text() == nullptr) return false;
        // Never over another file: a name that is taken is passed by.
        if (MoveFileExW(path, aside.Text(), MOVEFILE_WRITE_THROUGH)) {
            size_t nameLength = aside.Length() - nameStart;
            if (asideName != nullptr && asideCapacity > nameLength) {
                wmemcpy(asideName, aside.Text() + nameStart, nameLength + 1);
            }
            return true;
        }
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

// The whole file into `image` (its bytes counted in `size`), or the fault that stops it. Nobody
// writes the file meanwhile: it is open shared for reading only.
KeptFault LoadFile(HANDLE file, MemArray<unsigned char>& image, size_t& size)
{
    size = 0;
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file, &fileSize)) return KeptFault::unreadable;
    if (fileSize.QuadPart > static_cast<LONGLONG>(kKeptFileLimit)) return KeptFault::tooLarge;
    size_t want = static_cast<size_t>(fileSize.QuadPart);
    if (!image.Allocate(want + 1)) return KeptFault::noMemory;
    while (size < want) {
        DWORD got = 0;
        if (!ReadFile(file, image.Data() + size, static_cast<DWORD>(want - size), &got, nullptr)) return KeptFault::unreadable;
        if (got == 0) break;
        size += got;
    }
    return KeptFault::none;
}

KeptRead Outcome(KeptRead outcome, KeptFault fault, int line, KeptProblem* problem)
{
    if (problem != nullptr) {
        problem->fault = fault;
        problem->line = line;
    }
    return outcome;
}

} // namespace

KeptRead ReadKeptItems(const wchar_t* path, CDimPack& items, wchar_t* asideName, size_t asideCapacity, KeptProblem* problem)
{
    items.Clear();
    if (asideName != nullptr && asideCapacity > 0) asideName[0] = L'\0';
    if (path == nullptr || path[0] == L'\0') return Outcome(KeptRead::failed, KeptFault::unreadable, 0, problem);
    // Shared for reading only: a file another program is writing is not read half-way.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Outcome(KeptRead::none, KeptFault::none, 0, problem);
        // Not seen, so not judged: a lock or a permission is no damage, and the file stays.
        return Outcome(KeptRead::failed, KeptFault::unreadable, 0, problem);
    }
    MemArray<unsigned char> image;
    size_t size = 0;
    KeptFault fault = LoadFile(file, image, size);
    CloseHandle(file);
    Parse parse;
    parse.fault = fault;
    CDimPack read;
    if (fault == KeptFault::none) parse = ParseImage(image.Data(), size, read);
    if (parse.fault == KeptFault::none && !DropRepeats(read)) parse.fault = KeptFault::noMemory;
    if (parse.fault == KeptFault::none) {
        items.Swap(read);
        return Outcome(KeptRead::read, KeptFault::none, 0, problem);
    }
    if (parse.fault == KeptFault::unreadable || parse.fault == KeptFault::noMemory)
        return Outcome(KeptRead::failed, parse.fault, 0, problem);
    if (!SetAside(path, asideName, asideCapacity)) return Outcome(KeptRead::failed, parse.fault, parse.line, problem);
    return Outcome(KeptRead::setAside, parse.fault, parse.line, problem);
}

KeptWrite WriteKeptItems(const wchar_t* path, const char* const* texts, int count)
{
    ItemSource source = {texts, nullptr, texts != nullptr && count > 0 ? count : 0};
    return WriteFileImage(path, source);
}

KeptWrite WriteKeptItems(const wchar_t* path, const CDimPack& items)
{
    ItemSource source = {nullptr, &items, items.GetCount()};
    return WriteFileImage(path, source);
}
