#include "host/PluginLoader.h"

namespace {

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn& fn)
{
    FARPROC proc = GetProcAddress(module, name);
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
    return proc != nullptr;
}

std::string LoadText(HMODULE module, int id)
{
    char text[512] = "";
    LoadStringA(module, static_cast<UINT>(id), text, sizeof text);
    return text;
}

} // namespace

bool LoadPlugin(const std::string& path, UINT commandId, HWND owner, LoadedPlugin& plugin, std::string& error)
{
    plugin = LoadedPlugin{};
    plugin.path = path;
    plugin.commandId = commandId;
    plugin.module = LoadLibraryA(path.c_str());
    if (plugin.module == nullptr) {
        error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    HMODULE m = plugin.module;
    const char* missing = nullptr;
    if (!Resolve(m, "OnCommand", plugin.onCommand)) missing = "OnCommand";
    else if (!Resolve(m, "QueryStatus", plugin.queryStatus)) missing = "QueryStatus";
    else if (!Resolve(m, "OnEvents", plugin.onEvents)) missing = "OnEvents";
    else if (!Resolve(m, "GetMenuTextID", plugin.getMenuTextId)) missing = "GetMenuTextID";
    else if (!Resolve(m, "GetStatusMessageID", plugin.getStatusMessageId)) missing = "GetStatusMessageID";
    else if (!Resolve(m, "GetBitmapID", plugin.getBitmapId)) missing = "GetBitmapID";
    else if (!Resolve(m, "PlugInProc", plugin.plugInProc)) missing = "PlugInProc";
    if (missing != nullptr) {
        error = path + " does not export " + missing;
        FreeLibrary(plugin.module);
        plugin = LoadedPlugin{};
        return false;
    }
    plugin.menuText = LoadText(m, plugin.getMenuTextId());
    if (plugin.menuText.empty()) plugin.menuText = path;
    plugin.statusText = LoadText(m, plugin.getStatusMessageId());
    plugin.bitmap = LoadBitmapA(m, MAKEINTRESOURCEA(plugin.getBitmapId()));
    char name[256] = "";
    plugin.plugInProc(owner, HR_NAME, sizeof name, reinterpret_cast<LPARAM>(name));
    name[sizeof name - 1] = '\0';
    plugin.name = name;
    return true;
}

bool PluginCommandEnabled(const LoadedPlugin& plugin, HWND view, bool* marked)
{
    if (marked != nullptr) *marked = false;
    if (plugin.queryStatus == nullptr) return false;
    BOOL flag = 0;
    bool enabled = plugin.queryStatus(view, &flag) == 1;
    if (marked != nullptr) *marked = flag != 0;
    return enabled;
}

void UnloadPlugin(LoadedPlugin& plugin)
{
    if (plugin.bitmap != nullptr) DeleteObject(plugin.bitmap);
    if (plugin.module != nullptr) FreeLibrary(plugin.module);
    plugin = LoadedPlugin{};
}
