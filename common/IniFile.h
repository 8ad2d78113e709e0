// The settings file: the library's path with the extension ".ini", section "AppSetting".
#pragma once
#include "common/AppVal.h"

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
    // one beside the library cannot be written (an install folder under Program Files); "" when
    // it cannot be worked out. `create` makes its folder.
    const char* GetUserINIFilePath(bool create);
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
    char userPath[260];

    // The file read and written now: the one beside the library when it can be written or no
    // per-user file exists yet, else the per-user file.
    const char* SettingsFile();
};
