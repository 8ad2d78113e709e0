// The settings file: the library's path with the extension ".ini", section "AppSetting".
#pragma once
#include "common/AppVal.h"
#include <cstddef>

class IniFile : public CAppVal {
public:
    IniFile();

    bool GetModulePath(char* buffer, HMODULE module);
    bool ExtractDir(char* buffer, const char* path);
    bool ExtractFileName(char* buffer, const char* path);
    bool FncChgFileType(char* buffer, const char* path, const char* newExt, bool report);
    bool IsBadFileName(const char* name, bool report);
    void SetINIFilePath(const char* path);
    // The settings file to use now: a path, "" when it cannot be worked out, or null when not
    // even the executable's path is known.
    const char* GetINIFilePath();
    // The per-user settings file, %APPDATA%\Vexaro\ with the settings file's name, for when the
    // folder beside the library cannot take the file (an install folder under Program Files); L""
    // when it cannot be worked out. Wide, so that a user folder code page 932 cannot name works.
    // `create` makes its folder.
    const wchar_t* GetUserINIFilePath(bool create);
    // Holds one choice of file for the reads or writes that follow, until ReleasePlace: the
    // folder beside the library is probed once for them. Without it every access chooses afresh.
    void HoldPlace();
    // The file `name` in the folder the settings are written to now: beside the library, or the
    // per-user folder (made when missing). False when there is none or it does not fit `size`.
    bool FileBesideSettings(const wchar_t* name, wchar_t* path, size_t size);
    void ReleasePlace();
    bool WriteString(const char* key, const char* value);
    DWORD ReadString(const char* key, char* buffer, const char* defaultText, DWORD size);
    bool WriteInt(const char* key, int value);
    bool ReadInt(const char* key, int* out, int defaultValue, DWORD size);

    const char* GetModulePathField() const { return modulePath; }
    const char* GetIniPathField() const { return iniPath; }

private:
    char modulePath[260];
    char moduleName[260];
    char iniPath[260];
    char resolvedPath[260];
    wchar_t userPath[260];

    enum Place { kNowhere, kBeside, kUser };
    struct Choice {
        Place read;
        Place write;
    };
    bool placeHeld = false;
    Choice heldChoice = {kNowhere, kNowhere};

    // Where reads and writes go now: beside the library whenever its folder can take the file;
    // else writes to the per-user file, and reads from it once it exists.
    Choice Choose();
};
