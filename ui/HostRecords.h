// What a host keeps of the boxes it showed, for tests and the scenario runner: every message box
// and file dialog, and every modal run.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Dialog.h"

namespace ui {

struct MessageBoxRecord {
    std::string text;     // ANSI, as the program passed it
    std::string caption;  // ANSI
    uint32_t type = 0;    // MB_* values
    int dialogId = 0;     // template id of the topmost dialog then; 0 when none was open
    int sequence = 0;     // position among all message boxes and file dialogs of this host
    int answer = 0;       // the button that closed it: IDOK, IDYES, IDNO
};

struct FileDialogRecord {
    FileDialogRequest request;
    bool answered = false;  // the source had an answer for it
    bool accepted = false;  // the dialog returned a path (false: cancelled)
    std::string path;       // the path returned; empty when cancelled
    int dialogId = 0;
    int sequence = 0;
};

struct ModalRecord {
    int templateId = 0;
    std::string title;  // ANSI, as the window showed it after its initialisation
};

}  // namespace ui
