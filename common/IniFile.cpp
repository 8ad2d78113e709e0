#include "common/IniFile.h"
#include "common/Sjis.h"
#include "common/WideText.h"
#include <shlobj.h>
#include <climits>
#include <cstring>
#include <cwchar>

static const char kSection[] = "AppSetting";
static const wchar_t kSectionW[] = L"AppSetting";
static const size_t kPathSize = 260;
static const size_t kMessageSize = 1000;

// Copies a text that must fit a 260-byte path field whole: a cut path would name another file.
static bool CopyPath(char* buffer, const char* text, size_t length)
{
    if (length >= kPathSize) return false;
    memcpy(buffer, text, length);
    buffer[length] = '\0';
    return true;
}

IniFile::IniFile()
{
    modulePath[0] = '\0';
    moduleName[0] = '\0';
    iniPath[0] = '\0';
    resolvedPath[0] = '\0';
    userPath[0] = L'\0';
    GetModulePath(modulePath, nullptr);
    ExtractFileName(moduleName, modulePath);
    SetCaption(moduleName);
}

bool IniFile::GetModulePath(char* buffer, HMODULE module)
{
    buffer[0] = '\0';
    // A larger buffer than the field, so that a path too long for it is seen and refused
    // instead of being handed on cut.
    char name[1024] = "";
    DWORD length = GetModuleFileNameA(module, name, sizeof name);
    if (length == 0 || length >= sizeof name) return false;
    return CopyPath(buffer, name, strlen(name));
}

bool IniFile::ExtractDir(char* buffer, const char* path)
{
    if (path == nullptr || path[0] == '\0') return false;
    const char* last = SjisFindLast(path, '\\');
    if (last == nullptr) return false;
    size_t length = static_cast<size_t>(last - path);
    // A single backslash belongs to the drive root: C:\file.dll lies in C:\, not in C:.
    if (last == SjisFindFirst(path, '\\')) ++length;
    return CopyPath(buffer, path, length);
}

bool IniFile::ExtractFileName(char* buffer, const char* path)
{
    if (path == nullptr || path[0] == '\0') return false;
    const char* last = SjisFindLast(path, '\\');
    if (last == nullptr) return false;
    return CopyPath(buffer, last + 1, strlen(last + 1));
}

// The forbidden characters, each looked for as a whole character: '\\' and '|' are also
// possible second bytes of double-byte characters.
static bool HasForbiddenChar(const char* name)
{
    static const char kForbidden[] = "\\/:;*?\"<>|";
    for (const char* p = name; *p != '\0'; p += SjisCharLength(p)) {
        if (!SjisIsLeadByte(static_cast<unsigned char>(*p)) && strchr(kForbidden, *p) != nullptr) return true;
    }
    return false;
}

bool IniFile::IsBadFileName(const char* name, bool report)
{
    if (name == nullptr || !HasForbiddenChar(name)) return false;
    if (report) {
        static const char kHead[] = "「 ";
        static const char kTail[] =
            " 」 は、不正なファイル名又は、フォルダ名です！！\n\n"
            "以下の半角記号は、含めないで下さい。\n\n"
            "  \\ / : ; * ? \" < > |";
        // The whole message fits 1000 bytes: a long name is cut on a character boundary.
        size_t room = kMessageSize - 1 - (sizeof kHead - 1) - (sizeof kTail - 1);
        size_t nameLength = SjisCutLength(name, strlen(name), room);
        char message[kMessageSize];
        memcpy(message, kHead, sizeof kHead - 1);
        memcpy(message + sizeof kHead - 1, name, nameLength);
        memcpy(message + sizeof kHead - 1 + nameLength, kTail, sizeof kTail);
        ShowMessage(message, "", "!!", "o");
    }
    return true;
}

bool IniFile::FncChgFileType(char* buffer, const char* path, const char* newExt, bool report)
{
    if (newExt == nullptr || newExt[0] == '\0' || path == nullptr || path[0] == '\0') return false;
    const char* lastSlash = SjisFindLast(path, '\\');
    if (lastSlash == nullptr) return false;
    if (IsBadFileName(newExt, false)) {
        if (report) ShowMessage("変更拡張子名に不正な文字が含まれています！！\n（FncChgFileType）", "", "x", "o");
        return false;
    }
    // Only a dot of the file name starts its extension: a dot in a folder name (C:\my.dir\file)
    // does not, and a file name without one gets the extension appended.
    const char* dot = SjisFindLast(lastSlash, '.');
    size_t stem = dot != nullptr ? static_cast<size_t>(dot - path) : strlen(path);
    bool addDot = SjisFindFirst(newExt, '.') == nullptr;
    size_t extLength = strlen(newExt);
    // The result must fit a path field whole: a cut path would name another file.
    if (stem + (addDot ? 1 : 0) + extLength >= kPathSize) return false;
    char result[kPathSize];
    memcpy(result, path, stem);
    if (addDot) result[stem++] = '.';
    memcpy(result + stem, newExt, extLength + 1);
    return CopyPath(buffer, result, stem + extLength);
}

void IniFile::SetINIFilePath(const char* path)
{
    if (path == nullptr || path[0] == '\0') {
        iniPath[0] = '\0';
        return;
    }
    if (SjisFindFirst(path, '\\') == nullptr || !CopyPath(iniPath, path, strlen(path))) {
        ShowMessage("ファイルパスが不正です！！\n（SetINIFilePath）", "", "!!", "o");
    }
}

const char* IniFile::GetINIFilePath()
{
    char executable[kPathSize];
    const char* path = iniPath;
    if (iniPath[0] == '\0') {
        if (!GetModulePath(executable, nullptr)) return nullptr;
        path = executable;
    }
    if (!FncChgFileType(resolvedPath, path, "ini", false)) return "";
    return resolvedPath;
}

// A code page 932 text as UTF-16, whole or not at all. The code page is named: the system's own
// may be another.
static bool Cp932ToWide(const char* text, wchar_t* out, int capacity)
{
    return MultiByteToWideChar(932, 0, text, -1, out, capacity) != 0;
}

// Shared by the 32- and 64-bit libraries: both keep the same keys with the same meaning (screen
// pixels and check states), so a user who switches editors keeps the palette's place and ticks.
const wchar_t* IniFile::GetUserINIFilePath(bool create)
{
    userPath[0] = L'\0';
    const char* beside = GetINIFilePath();
    char name[kPathSize];
    wchar_t wideName[kPathSize];
    wchar_t folder[MAX_PATH];
    if (beside == nullptr || !ExtractFileName(name, beside) || !Cp932ToWide(name, wideName, kPathSize)) return userPath;
    // The wide lookup: the narrow one turns a user folder code page 932 cannot name into "?".
    int flags = CSIDL_APPDATA | (create ? CSIDL_FLAG_CREATE : 0);
    if (SHGetFolderPathW(nullptr, flags, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) return userPath;
    size_t folderLength = wcslen(folder);
    static const wchar_t kOwnFolder[] = L"\\Vexaro";
    const size_t ownLength = sizeof kOwnFolder / sizeof kOwnFolder[0] - 1;
    size_t nameLength = wcslen(wideName);
    // Whole or not at all: a cut path would name another file.
    if (folderLength + ownLength + 1 + nameLength >= sizeof userPath / sizeof userPath[0]) return userPath;
    wmemcpy(folder + folderLength, kOwnFolder, ownLength + 1);
    if (create) CreateDirectoryW(folder, nullptr);
    wmemcpy(userPath, folder, folderLength + ownLength);
    userPath[folderLength + ownLength] = L'\\';
    wmemcpy(userPath + folderLength + ownLength + 1, wideName, nameLength + 1);
    return userPath;
}

// Whether the settings file can be written at this path, tried without changing or leaving
// anything: an existing file that opens for writing, or that another program holds a moment (it
// will let go; moving away would read a stale file meanwhile), or a missing one that its folder
// lets be made. A folder of that name, a read-only file or a folder that refuses: no.
static bool TakesFile(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
        if (error != ERROR_FILE_NOT_FOUND) return false;
        // Made under its own name and gone again as the handle closes.
        file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        // Made by another program meanwhile: the folder takes files.
        if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
    }
    CloseHandle(file);
    return true;
}

IniFile::Choice IniFile::Choose()
{
    const char* beside = GetINIFilePath();
    if (beside == nullptr || beside[0] == '\0') return {kNowhere, kNowhere};
    if (TakesFile(beside)) return {kBeside, kBeside};
    const wchar_t* user = GetUserINIFilePath(false);
    if (user[0] == L'\0') return {kBeside, kNowhere};
    DWORD attributes = GetFileAttributesW(user);
    bool userFile = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    // Until the per-user file exists, a file beside the library that cannot be written is still
    // the one to read.
    return {userFile ? kUser : kBeside, kUser};
}

bool IniFile::FileBesideSettings(const wchar_t* name, wchar_t* path, size_t size)
{
    Choice choice = placeHeld ? heldChoice : Choose();
    wchar_t file[kPathSize];
    if (choice.write == kBeside) {
        const char* beside = GetINIFilePath();
        if (beside == nullptr || beside[0] == '\0' || !Cp932ToWide(beside, file, kPathSize)) return false;
    } else if (choice.write == kUser) {
        const wchar_t* user = GetUserINIFilePath(true);
        if (user[0] == L'\0') return false;
        wcscpy(file, user);
    } else {
        return false;
    }
    const wchar_t* slash = wcsrchr(file, L'\\');
    if (slash == nullptr || name == nullptr) return false;
    size_t folder = static_cast<size_t>(slash - file) + 1;
    size_t nameLength = wcslen(name);
    if (folder + nameLength >= size) return false;
    wmemcpy(path, file, folder);
    wmemcpy(path + folder, name, nameLength + 1);
    return true;
}

void IniFile::HoldPlace()
{
    heldChoice = Choose();
    placeHeld = true;
}

void IniFile::ReleasePlace()
{
    placeHeld = false;
}

// A null key would make the profile functions work on the whole section (list it, delete it).
static bool UsableKey(const char* key)
{
    return key != nullptr && key[0] != '\0';
}

bool IniFile::WriteString(const char* key, const char* value)
{
    if (!UsableKey(key)) return false;
    Choice choice = placeHeld ? heldChoice : Choose();
    // A failed write beside the library (another program holds the file a moment) is just that:
    // its folder takes the file, so the next opening reads it there.
    if (choice.write == kBeside) {
        const char* beside = GetINIFilePath();
        return beside != nullptr && beside[0] != '\0' && WritePrivateProfileStringA(kSection, key, value, beside);
    }
    if (choice.write != kUser) return false;
    wchar_t wideKey[kPathSize];
    wchar_t wideValue[kPathSize];
    if (!Cp932ToWide(key, wideKey, kPathSize) || (value != nullptr && !Cp932ToWide(value, wideValue, kPathSize))) {
        return false;
    }
    const wchar_t* text = value != nullptr ? wideValue : nullptr;
    if (WritePrivateProfileStringW(kSectionW, wideKey, text, userPath)) return true;
    // Its folder is made when first needed.
    if (GetUserINIFilePath(true)[0] == L'\0') return false;
    return WritePrivateProfileStringW(kSectionW, wideKey, text, userPath) != FALSE;
}

DWORD IniFile::ReadString(const char* key, char* buffer, const char* defaultText, DWORD size)
{
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    if (!UsableKey(key)) return 0;
    Choice choice = placeHeld ? heldChoice : Choose();
    if (choice.read == kBeside) {
        const char* beside = GetINIFilePath();
        if (beside == nullptr || beside[0] == '\0') return 0;
        return GetPrivateProfileStringA(kSection, key, defaultText, buffer, size, beside);
    }
    if (choice.read != kUser) return 0;
    wchar_t wideKey[kPathSize];
    wchar_t wideDefault[kPathSize];
    wchar_t text[kPathSize];
    if (!Cp932ToWide(key, wideKey, kPathSize) ||
        (defaultText != nullptr && !Cp932ToWide(defaultText, wideDefault, kPathSize))) {
        return 0;
    }
    DWORD room = size < kPathSize ? size : static_cast<DWORD>(kPathSize);
    DWORD length = GetPrivateProfileStringW(kSectionW, wideKey, defaultText != nullptr ? wideDefault : nullptr, text,
                                            room, userPath);
    size_t bytes = WideToCp932(text, length, buffer, size - 1);
    buffer[bytes] = '\0';
    return static_cast<DWORD>(bytes);
}

bool IniFile::WriteInt(const char* key, int value)
{
    char text[kPathSize];
    wsprintfA(text, "%d", value);
    return WriteString(key, text);
}

// Leading white space, an optional sign, then the digits up to the first other character.
// False when the number does not fit an int.
static bool ParseLeadingInt(const char* text, int* value)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
    }
    long long result = negative ? -magnitude : magnitude;
    if (result > INT_MAX || result < INT_MIN) return false;
    *value = static_cast<int>(result);
    return true;
}

bool IniFile::ReadInt(const char* key, int* out, int defaultValue, DWORD size)
{
    if (out == nullptr) return false;
    char text[kPathSize];
    // The value is read into our own buffer: never let a larger size write past it.
    if (size > sizeof text) size = sizeof text;
    int value = 0;
    if (ReadString(key, text, nullptr, size) == 0 || !ParseLeadingInt(text, &value) ||
        (value == 0 && strcmp(text, "0") != 0)) {
        *out = defaultValue;
        return false;
    }
    *out = value;
    return true;
}
