// Dialog templates: the one source of truth for every window of the program. The headless, Qt
// and Win32 hosts all build their windows from these records (the Windows resource script is
// generated from them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// Window and control styles, with the Windows values so the resource script can be generated.
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_BORDER = 0x00800000;
constexpr uint32_t WS_VSCROLL = 0x00200000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_GROUP = 0x00020000;
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t DS_MODALFRAME = 0x80;
constexpr uint32_t DS_SETFONT = 0x40;
constexpr uint32_t DS_SHELLFONT = 0x48;
constexpr uint32_t WS_EX_APPWINDOW = 0x00040000;

constexpr uint32_t ES_AUTOHSCROLL = 0x80;
constexpr uint32_t ES_READONLY = 0x800;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr uint32_t BS_AUTOCHECKBOX = 0x3;
constexpr uint32_t CBS_DROPDOWN = 0x2;
constexpr uint32_t CBS_DROPDOWNLIST = 0x3;
constexpr uint32_t CBS_SORT = 0x100;
constexpr uint32_t LVS_REPORT = 0x1;
constexpr uint32_t LVS_SHOWSELALWAYS = 0x8;
constexpr uint32_t SS_ICON = 0x3;

enum class ControlKind {
    Edit,
    PushButton,  // BS_DEFPUSHBUTTON in the style makes it the default button
    CheckBox,    // automatic check box
    ComboBox,    // drop-down with an editable text (CBS_DROPDOWN)
    DropDownList,
    ListView,  // report view
    Static,
    GroupBox,
    Icon,  // static icon; the caption holds the icon resource number as text
};

// x, y, width, height in dialog units.
struct Rect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

constexpr int IDC_STATIC = -1;

struct ControlTemplate {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::Static;
    std::string caption;  // UTF-8; the hosts convert it to the ANSI code page
    Rect rect;
    uint32_t style = 0;   // WS_VISIBLE is implied unless hidden is set
    bool hidden = false;  // created without WS_VISIBLE
    bool disabled = false;
    std::vector<std::string> items;  // initial items of a drop-down list, in order (UTF-8)
    // What an assistive technology reads where no label before the control says it, or says
    // it for more than one control (ui/Accessible.h), and what it adds to the name. UTF-8.
    std::string accessibleName;
    std::string accessibleDescription;
};

struct DialogTemplate {
    int id = 0;
    std::string title;  // UTF-8
    std::string fontName;
    int fontSize = 9;
    int cx = 0;
    int cy = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    std::vector<ControlTemplate> controls;  // in tab order

    const ControlTemplate* Find(int controlId) const;
};

}  // namespace ui
