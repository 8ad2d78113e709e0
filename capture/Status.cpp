#include "capture/Status.h"
#include "plugin/HostMessages.h"

void ShowStatus(const char* text, int beep)
{
    SendToHost(HOSTMSG_SET_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(text));
    if (beep) MessageBeep(0);
}
