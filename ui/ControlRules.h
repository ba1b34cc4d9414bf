// How the controls of a dialog behave, shared by the control handles and the input dispatcher.
// Only ui/ includes this header.
#pragma once

#include <string>

#include "ui/Dialog.h"

namespace ui::detail {

// Statics, group boxes and icons let the mouse through to the dialog underneath, as their
// Windows counterparts answer the hit test with "transparent".
bool IsMouseTransparent(ControlKind kind);

// Controls that take the focus when the dialog starts or when they are clicked.
bool IsTabStop(ControlKind kind);

// What GetWindowText answers: a drop-down list has no edit field, so it is the selected item.
std::string WindowTextOf(const ControlState& state);

// Selects item `index` of a combo box or drop-down list; any index outside the items clears the
// selection. The editable box shows the item, or nothing. Returns the new selection or -1.
int SelectComboItem(ControlState& state, int index);

// Index of the item whose text equals `text` exactly, or -1.
int FindComboItem(const ControlState& state, const std::string& text);

}  // namespace ui::detail
