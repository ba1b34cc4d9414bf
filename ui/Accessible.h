// What a screen reader reads for each control of a template: its name and what it adds to it.
// The rule is the one the accessibility of a Windows dialog applies, kept here once so that
// every host reads a window alike: a button, check box or group box is named by its own
// caption; an edit, combo box, drop-down list or list by the label that stands before it in the
// template's order (the nearest static text before it, looking back no further than a control
// that starts a group of tab stops). A control the template names itself (ControlTemplate's
// accessibleName) has that name instead. Mnemonic marks are read as the letters they mark.
#pragma once

#include <cstddef>
#include <string>

#include "ui/Dialog.h"
#include "ui/Template.h"

namespace ui {

// The controls a user reaches or operates, which must have a name: not the labels, group boxes
// and icons, which are read as text.
bool NeedsAccessibleName(ControlKind kind);

// Name and description of control `index` of `t`, UTF-8; empty when it has none.
std::string AccessibleName(const DialogTemplate& t, size_t index);
std::string AccessibleDescription(const DialogTemplate& t, size_t index);

// The name as the control reads now: a caption the program changed ("UnLock") reads as it is.
std::string AccessibleName(const CDialog& dlg, size_t index);

// The label (its index in the template) whose text names control `index`, or -1 when it is
// named by its caption, by the template, or by nothing.
int NamingLabel(const DialogTemplate& t, size_t index);

// A caption as it is read out: "&Lock" is "Lock", "&&" is "&".
std::string WithoutMnemonics(const std::string& caption);

}  // namespace ui
