// What a screen reader reads of a control where the system's own accessibility cannot tell it:
// the name the dialog layer gives a control that no label before it names alone (or that the
// system names by no label at all), and a description. The control then answers the reader's
// WM_GETOBJECT with the system's own accessible object for it, which keeps its role, state,
// value and children, wrapped so that its name and description are these.
#pragma once

#include <string>

#include "ui/Dialog.h"
#include "ui/Template.h"

#include "ui/win32/WindowsApi.h"

namespace ui::win32 {

struct AccessibleTexts {
    bool ownName = false;  // else the control's own text names it, as the system reads it
    std::wstring name;
    std::wstring description;
};

// The texts control `index` of `t` is to be read with, where they are the host's to give: true
// for a control named by a label or by the template, or described by it.
bool OwnAccessibleTexts(const DialogTemplate& t, size_t index, AccessibleTexts& texts);

// `texts` must live until StopAnswering, which is called before the control is destroyed.
void AnswerAccessibility(HWND control, const AccessibleTexts* texts);
void StopAnswering(HWND control);

}  // namespace ui::win32
