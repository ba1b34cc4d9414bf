// What a screen reader reads of a window: the accessible object the window gives for its
// client area (the system's own, or the one the program answers WM_GETOBJECT with), asked as
// any client of Microsoft Active Accessibility asks it.
#include "tools/win32driver/Driver.h"

#include <oleacc.h>

namespace windriver {
namespace {

// {618736E0-3C3D-11CF-810C-00AA00389B71}. mingw's IID_IAccessible is oleacc's exported datum,
// which its 64-bit import library hands out as the import's code instead.
constexpr IID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

std::wstring Take(BSTR text) {
    std::wstring out = text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return out;
}

}  // namespace

bool ReadAccessible(HWND hwnd, AccessibleRead& read) {
    read = AccessibleRead{};
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                          reinterpret_cast<void**>(&accessible))) ||
        accessible == nullptr) {
        return false;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (accessible->get_accName(self, &text) == S_OK) {
        read.name = Take(text);
    }
    text = nullptr;
    if (accessible->get_accDescription(self, &text) == S_OK) {
        read.description = Take(text);
    }
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(accessible->get_accRole(self, &value)) && value.vt == VT_I4) {
        read.role = value.lVal;
    }
    VariantClear(&value);
    if (SUCCEEDED(accessible->get_accState(self, &value)) && value.vt == VT_I4) {
        read.state = value.lVal;
    }
    VariantClear(&value);
    accessible->Release();
    return true;
}

}  // namespace windriver
