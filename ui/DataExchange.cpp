// Data exchange between a dialog's members and its controls, with the framework's range check.
#include <string>

#include "platform/Platform.h"
#include "ui/Dialog.h"

namespace ui {
namespace {

void ReplaceAll(std::string& text, const std::string& marker, const std::string& value) {
    for (size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + value.size())) {
        text.replace(at, marker.size(), value);
    }
}

}  // namespace

void DDX_Text(CDataExchange& dx, int controlId, std::string& value) {
    if (dx.m_failed) {
        return;
    }
    dx.m_lastControl = controlId;
    if (dx.m_bSaveAndValidate) {
        value = dx.m_dlg.GetDlgItemText(controlId);
    } else {
        dx.m_dlg.SetDlgItemText(controlId, value);
    }
}

void DDX_Check(CDataExchange& dx, int controlId, int& value) {
    if (dx.m_failed) {
        return;
    }
    dx.m_lastControl = controlId;
    CButton box(&dx.m_dlg, controlId);
    if (dx.m_bSaveAndValidate) {
        value = box.GetCheck();
    } else {
        box.SetCheck(value);
    }
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue) {
    if (dx.m_failed || !dx.m_bSaveAndValidate) {
        return;
    }
    if (value >= minValue && value <= maxValue) {
        return;
    }
    std::string text = "輸入 %1 和 %2 之間的整數。";
    ReplaceAll(text, "%1", std::to_string(minValue));
    ReplaceAll(text, "%2", std::to_string(maxValue));
    MessageBox(platform::Utf8ToAnsi(text));
    dx.m_dlg.SetFocus(dx.m_lastControl);
    dx.Fail();
}

}  // namespace ui
