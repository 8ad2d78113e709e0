#include "plugin/HostMessages.h"
#include "plugin/PluginState.h"

LRESULT SendToHost(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(plugin.bandFrame, message, wParam, lParam);
}
