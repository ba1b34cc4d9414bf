// The desktop program's start-up once the QApplication exists, shared by `vuvereze` and the
// start-up benchmark, so that what is measured is what the user starts.
#pragma once

#include <QIcon>
#include <string>

namespace desktop {

// The program's icon (resource 128) at every size a desktop asks for, each image drawn at its
// size; read once.
QIcon ProgramIcon();

// $XDG_DATA_HOME/vuvereze/system, or ~/.local/share/vuvereze/system.
std::string DefaultSystemFolder();

// Activates the virtual Windows machine kept in `folder` and runs the program's main window on
// the Qt host with the real clock. A system that cannot be used is said on stderr and in a
// message box. Returns the exit code.
int RunProgram(const std::string& folder);

}  // namespace desktop
