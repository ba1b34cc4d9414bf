// Ctrl-C, Ctrl-Break and a closed console end a watch cleanly: the handler only asks it to
// stop, and the system waits for the program to end by itself.
#include "tools/device/Status.h"

#include <windows.h>

namespace devicetool {
namespace {

BOOL WINAPI OnControl(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            RequestStop();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void CatchInterrupt(bool on) {
    SetConsoleCtrlHandler(&OnControl, on ? TRUE : FALSE);
}

}  // namespace devicetool
