// How the controls of a dialog behave, shared by the control handles and the input dispatcher.
// Only ui/ includes this header.
#pragma once

#include <string>
#include <vector>

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

// --- What the input dispatcher and the keyboard share (Controls.cpp, ListCtrl.cpp, and the
// pre-filter's Dispatch.cpp).

// A control the user can act on: it exists, shows and is enabled; nullptr otherwise.
const ControlState* Live(const CDialog& dlg, int id);
// A key pressed and released on the focused control, as the message pre-filter sees it; true
// when it ate either message.
bool PreFilterKey(CDialog& dlg, int key);
void FocusIfLive(CDialog& dlg, int id);
// The row of a list that has the focus, or -1. One row has it at a time; FocusRow with a row
// outside the list leaves it where it was.
int FocusedRow(const ControlState& list);
void FocusRow(ControlState& list, int row);
// Selects exactly `rows` of the list; true when the selection changed.
bool SelectOnly(ControlState& list, const std::vector<int>& rows);

// --- The keyboard's moves (Keyboard.cpp).

// Tab: the focus goes to the next control that takes it from Tab (the previous one with
// `backwards`), round the window, as the dialog manager moves it.
void KeyTab(CDialog& dlg, int id, bool backwards);
// An arrow, Home or End on the focused control `id` (0: wherever the focus is).
void KeyMove(CDialog& dlg, int id, Input::Kind key);

}  // namespace ui::detail
