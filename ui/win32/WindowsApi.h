// The Windows headers as the Win32 host takes them: after the dialog layer's headers, whose
// constants carry the same names as the system's macros (WS_POPUP, IDOK, SC_CLOSE, ...), and
// without the few function macros that would rename the dialog layer's own members.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#undef MessageBox
#undef GetWindowText
#undef SetWindowText
#undef GetDlgItemText
#undef SetDlgItemText
