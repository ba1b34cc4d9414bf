// The dialog templates. The Windows resource script is generated from these records, so the
// hosts can never disagree about a caption, an id or a rectangle.
#include "resources/Resource.h"
#include "ui/Dialog.h"

namespace res {
namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;

ControlTemplate Ctl(int id, ControlKind kind, const char* caption, int x, int y, int cx, int cy,
                    uint32_t style = 0, bool disabled = false) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.caption = caption;
    c.rect = {x, y, cx, cy};
    c.style = style;
    c.disabled = disabled;
    return c;
}

// A screen reader's name for a control that no label before it names alone.
ControlTemplate Named(ControlTemplate c, const char* name) {
    c.accessibleName = name;
    return c;
}

ControlTemplate Described(ControlTemplate c, const char* description) {
    c.accessibleDescription = description;
    return c;
}

ControlTemplate Label(const char* caption, int x, int y, int cx, int cy) {
    return Ctl(ui::IDC_STATIC, ControlKind::Static, caption, x, y, cx, cy);
}

ControlTemplate Edit(int id, int x, int y, uint32_t extra = 0) {
    return Ctl(id, ControlKind::Edit, "", x, y, 40, 14,
               ui::ES_AUTOHSCROLL | ui::WS_TABSTOP | extra);
}

ControlTemplate Hidden(int id, int x, int y) {
    ControlTemplate c = Edit(id, x, y);
    c.hidden = true;
    return c;
}

ControlTemplate DropList(int id, int x, int y, std::vector<std::string> items) {
    ControlTemplate c = Ctl(id, ControlKind::DropDownList, "", x, y, 48, 30,
                            ui::CBS_DROPDOWNLIST | ui::WS_VSCROLL | ui::WS_TABSTOP);
    c.items = std::move(items);
    return c;
}

DialogTemplate MakeAbout() {
    DialogTemplate t;
    t.id = IDD_ABOUTBOX;
    t.title = "關於 Vuvereze";
    t.fontName = "新細明體";
    t.fontSize = 9;
    t.cx = 170;
    t.cy = 62;
    t.style = ui::DS_MODALFRAME | ui::DS_SETFONT | ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;
    t.controls = {
        Ctl(ui::IDC_STATIC, ControlKind::Icon, "128", 14, 14, 21, 20, ui::SS_ICON),
        Label("", 42, 14, 114, 8),
        Ctl(ui::IDOK, ControlKind::PushButton, "確定", 113, 41, 50, 14,
            ui::BS_DEFPUSHBUTTON | ui::WS_GROUP | ui::WS_TABSTOP),
    };
    return t;
}

DialogTemplate MakeMain() {
    const uint32_t list = ui::LVS_REPORT | ui::WS_BORDER | ui::WS_TABSTOP;
    const uint32_t button = ui::WS_TABSTOP;
    DialogTemplate t;
    t.id = IDD_VUVEREZE_DIALOG;
    t.title = "Zeriveve";
    t.fontName = "新細明體";
    t.fontSize = 9;
    t.cx = 268;
    t.cy = 289;
    t.style = ui::DS_MODALFRAME | ui::DS_SETFONT | ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;
    t.exStyle = ui::WS_EX_APPWINDOW;
    t.controls = {
        // No label stands before the device box.
        Named(Ctl(IDC_DEVICE_BOX, ControlKind::ComboBox, "", 7, 7, 195, 66,
                  ui::CBS_DROPDOWN | ui::CBS_SORT | ui::WS_VSCROLL | ui::WS_TABSTOP),
              "Capture device"),
        Ctl(IDC_LOCK, ControlKind::PushButton, "Lock", 211, 7, 50, 14, button, true),
        Ctl(IDC_ADD, ControlKind::PushButton, "Add", 7, 25, 50, 14, button, true),
        Ctl(IDC_DELETE, ControlKind::PushButton, "Delete", 75, 25, 50, 14, button, true),
        Ctl(IDC_EXPORT, ControlKind::PushButton, "Export File", 143, 25, 50, 14, button, true),
        Ctl(IDC_IMPORT, ControlKind::PushButton, "Import File", 211, 25, 50, 14, button, true),
        Label("User Added Resolutions:", 7, 40, 78, 8),
        Described(Ctl(IDC_SELECT_ALL_USER, ControlKind::CheckBox, "Select all resolution", 7, 50,
                      76, 10, ui::BS_AUTOCHECKBOX | ui::WS_TABSTOP, true),
                  "Ticks or clears every row of User Added Resolutions"),
        Ctl(IDC_USER_LIST, ControlKind::ListView, "", 7, 60, 254, 88, list),
        Label("Supported Resolutions:", 7, 153, 73, 8),
        Described(Ctl(IDC_SELECT_ALL_SUPPORTED, ControlKind::CheckBox, "Select all resolution", 7,
                      163, 76, 10, ui::BS_AUTOCHECKBOX | ui::WS_TABSTOP, true),
                  "Ticks or clears every row of Supported Resolutions"),
        Ctl(IDC_SUPPORTED_LIST, ControlKind::ListView, "", 7, 173, 254, 89, list),
        Ctl(IDC_CANCEL, ControlKind::PushButton, "Cancel", 97, 268, 50, 14, button),
        Ctl(IDC_APPLY, ControlKind::PushButton, "Apply", 154, 268, 50, 14, button, true),
        Ctl(IDC_OK, ControlKind::PushButton, "OK", 211, 268, 50, 14, button, true),
    };
    return t;
}

DialogTemplate MakeInputFormat() {
    const uint32_t button = ui::WS_TABSTOP;
    DialogTemplate t;
    t.id = IDD_INPUT_FORMAT;
    t.title = "  ";
    t.fontName = "MS Shell Dlg";
    t.fontSize = 11;
    t.cx = 229;
    t.cy = 160;
    t.style = ui::DS_MODALFRAME | ui::DS_SHELLFONT | ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;
    // Each label stands right before the field it names, which is where the dialog's
    // accessibility looks for it; a row's two fields are told apart by their column.
    t.controls = {
        Label("Horizontal", 59, 6, 36, 8),
        Label("Vertical", 120, 6, 30, 8),
        Label("Active Pixel:", 7, 16, 46, 8),
        Named(Edit(IDC_H_ACTIVE, 56, 14), "Active Pixel: Horizontal"),
        Named(Edit(IDC_V_ACTIVE, 116, 14), "Active Pixel: Vertical"),
        Label("Front Porch:", 7, 31, 46, 8),
        Named(Edit(IDC_H_FRONT_PORCH, 56, 29), "Front Porch: Horizontal"),
        Named(Edit(IDC_V_FRONT_PORCH, 116, 29), "Front Porch: Vertical"),
        Label("Sync Width:", 7, 46, 46, 8),
        Named(Edit(IDC_H_SYNC, 56, 44), "Sync Width: Horizontal"),
        Named(Edit(IDC_V_SYNC, 116, 44), "Sync Width: Vertical"),
        Label("Total Pixel:", 7, 61, 46, 8),
        Named(Edit(IDC_H_TOTAL, 56, 59), "Total Pixel: Horizontal"),
        Named(Edit(IDC_V_TOTAL, 116, 59), "Total Pixel: Vertical"),
        Label("Polarity:", 7, 77, 40, 8),
        Named(DropList(IDC_H_POLARITY, 51, 75, {"Negtive", "Positive"}), "Polarity: Horizontal"),
        Named(DropList(IDC_V_POLARITY, 112, 75, {"Negtive", "Positive"}), "Polarity: Vertical"),
        Label("Frame Rate:", 7, 91, 46, 8),
        Edit(IDC_FRAME_RATE, 56, 89),
        Label("Int.:", 99, 92, 16, 8),
        DropList(IDC_INTERLACE, 117, 90, {"No", "Yes"}),
        // The step has no label of its own: the group it stands in says what it moves.
        Named(Edit(IDC_STEP, 170, 17), "Output Position step"),
        Ctl(IDC_TEST, ControlKind::PushButton, "Test", 119, 120, 103, 14, button),
        Ctl(IDC_OK, ControlKind::PushButton, "OK", 172, 139, 50, 14, button),
        Ctl(IDC_CANCEL, ControlKind::PushButton, "Cancel", 117, 139, 50, 14, button),
        Label("Detected Height:", 7, 125, 56, 8),
        Edit(IDC_DETECTED_HEIGHT, 66, 123, ui::ES_READONLY),
        Label("Detected Width:", 7, 110, 56, 8),
        Edit(IDC_DETECTED_WIDTH, 66, 108, ui::ES_READONLY),
        Ctl(IDC_UP, ControlKind::PushButton, "Up", 166, 33, 51, 14, button),
        Ctl(IDC_DOWN, ControlKind::PushButton, "Down", 166, 65, 51, 14, button),
        Ctl(IDC_LEFT, ControlKind::PushButton, "Left", 166, 49, 24, 14, button),
        Ctl(IDC_RIGHT, ControlKind::PushButton, "Right", 193, 49, 24, 14, button),
        Ctl(ui::IDC_STATIC, ControlKind::GroupBox, "Output Position", 161, 7, 59, 75),
        Ctl(IDC_DETECT, ControlKind::PushButton, "Detect", 7, 139, 100, 14, button),
        // In the free corner under the output position group, right of the Int. list.
        Ctl(IDC_STANDARD, ControlKind::PushButton, "Standard...", 170, 89, 52, 14, button),
        // Never shown: they hold the register values and the last measurement as text.
        Hidden(IDC_DE_H_START, 300, 10),
        Hidden(IDC_DE_H_END, 300, 25),
        Hidden(IDC_DE_V_START, 300, 40),
        Hidden(IDC_DE_V_END, 300, 55),
        Hidden(IDC_PLL_DIV_RATIO, 350, 10),
        Hidden(IDC_FR_LL, 350, 25),
        Hidden(IDC_L_MAX, 350, 40),
        Hidden(IDC_PIXEL_CLOCK, 350, 55),
        Hidden(IDC_F1_VBI_START, 400, 10),
        Hidden(IDC_F1_VBI_END, 400, 25),
        Hidden(IDC_F2_VBI_START, 400, 40),
        Hidden(IDC_F2_VBI_END, 400, 55),
        Hidden(IDC_LINE_LENGTH, 450, 10),
        Hidden(IDC_LINE_FREQ, 450, 25),
    };
    return t;
}

DialogTemplate MakeStandardTiming() {
    const uint32_t button = ui::WS_TABSTOP;
    const uint32_t wideEdit = ui::ES_AUTOHSCROLL | ui::WS_TABSTOP;
    DialogTemplate t;
    t.id = IDD_STANDARD_TIMING;
    t.title = "Standard Timing";
    t.fontName = "MS Shell Dlg";
    t.fontSize = 11;
    t.cx = 389;
    t.cy = 213;
    t.style = ui::DS_MODALFRAME | ui::DS_SHELLFONT | ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;
    ControlTemplate kind = DropList(IDC_STD_KIND, 50, 7,
                                    {"CVT", "CVT-RB", "CVT-RB2", "CVT-RB3", "GTF", "DMT", "CTA-861",
                                     "From input", "Modeline", "EDID file"});
    kind.rect = {50, 7, 80, 100};
    t.controls = {
        Label("Standard:", 7, 9, 40, 8),
        kind,
        Label("Width:", 7, 27, 40, 8),
        Edit(IDC_STD_WIDTH, 50, 25),
        Label("Height:", 97, 27, 30, 8),
        Edit(IDC_STD_HEIGHT, 130, 25),
        Label("Rate (Hz):", 7, 45, 40, 8),
        Edit(IDC_STD_RATE, 50, 43),
        Ctl(IDC_STD_INTERLACED, ControlKind::CheckBox, "Interlaced", 97, 45, 60, 10,
            ui::BS_AUTOCHECKBOX | ui::WS_TABSTOP),
        Ctl(IDC_STD_SHOW, ControlKind::PushButton, "Show", 183, 25, 60, 14, button),
        Named(Ctl(IDC_STD_LIST, ControlKind::ListView, "", 7, 62, 236, 80,
                  ui::LVS_REPORT | ui::LVS_SHOWSELALWAYS | ui::WS_BORDER | ui::WS_TABSTOP),
              "Standard timings"),
        // Four lines: the row's summary and, where the standard could not take the width
        // typed, what it gave instead.
        Ctl(IDC_STD_RESULT, ControlKind::Static, "", 7, 146, 236, 32),
        Ctl(IDC_STD_TOLERANCE, ControlKind::Static, "", 7, 180, 236, 8),
        // Timings the user has already: a modeline pasted, an EDID file opened. Each field
        // follows its label, which names it.
        Label("Modeline:", 252, 9, 130, 8),
        Ctl(IDC_STD_MODELINE, ControlKind::Edit, "", 252, 19, 130, 14, wideEdit),
        Label("EDID file:", 252, 41, 130, 8),
        Ctl(IDC_STD_EDID_FILE, ControlKind::Edit, "", 252, 51, 130, 14, wideEdit | ui::ES_READONLY),
        Ctl(IDC_STD_EDID_OPEN, ControlKind::PushButton, "Open...", 322, 69, 60, 14, button),
        Ctl(IDC_STD_SOURCE, ControlKind::Static, "", 252, 87, 130, 91),
        Ctl(ui::IDOK, ControlKind::PushButton, "OK", 138, 192, 50, 14,
            ui::BS_DEFPUSHBUTTON | button),
        Ctl(ui::IDCANCEL, ControlKind::PushButton, "Cancel", 193, 192, 50, 14, button),
    };
    return t;
}

// Modeless beside the main window: no modal frame, and no taskbar button of its own.
DialogTemplate MakeSignal() {
    const uint32_t button = ui::WS_TABSTOP;
    const auto field = [](int id, int y, int cx) {
        ControlTemplate c = Edit(id, 90, y, ui::ES_READONLY);
        c.rect.cx = cx;
        return c;
    };
    DialogTemplate t;
    t.id = IDD_SIGNAL;
    t.title = "Input Signal";
    t.fontName = "MS Shell Dlg";
    t.fontSize = 11;
    t.cx = 270;
    t.cy = 222;
    t.style = ui::DS_SHELLFONT | ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;
    // Each field after the label that names it, so that the order names it for a screen reader.
    t.controls = {
        Label("Device:", 7, 9, 80, 8),
        field(IDC_SIG_DEVICE, 7, 173),
        Label("VGA input:", 7, 27, 80, 8),
        field(IDC_SIG_VGA, 25, 173),
        Label("HDMI input:", 7, 45, 80, 8),
        field(IDC_SIG_HDMI, 43, 173),
        Label("Detected size:", 7, 63, 80, 8),
        field(IDC_SIG_SIZE, 61, 80),
        Label("Line-length count:", 7, 81, 80, 8),
        field(IDC_SIG_COUNT, 79, 80),
        Label("Line frequency:", 7, 99, 80, 8),
        field(IDC_SIG_LINE, 97, 80),
        Label("Standard timings that agree:", 7, 117, 256, 8),
        Ctl(IDC_SIG_MATCHES, ControlKind::ListView, "", 7, 127, 256, 50,
            ui::LVS_REPORT | ui::LVS_SHOWSELALWAYS | ui::WS_BORDER | ui::WS_TABSTOP),
        // Two lines: what the last reads found, or why no figures are shown.
        Ctl(IDC_SIG_STATE, ControlKind::Static, "", 7, 181, 256, 16),
        Ctl(IDC_SIG_ADD, ControlKind::PushButton, "Add Format...", 148, 201, 60, 14,
            ui::BS_DEFPUSHBUTTON | button, true),
        Ctl(ui::IDCANCEL, ControlKind::PushButton, "Close", 213, 201, 50, 14, button),
    };
    return t;
}

}  // namespace

const ui::DialogTemplate& SignalTemplate() {
    static const DialogTemplate t = MakeSignal();
    return t;
}

const ui::DialogTemplate& StandardTimingTemplate() {
    static const DialogTemplate t = MakeStandardTiming();
    return t;
}

const ui::DialogTemplate& AboutTemplate() {
    static const DialogTemplate t = MakeAbout();
    return t;
}

const ui::DialogTemplate& MainTemplate() {
    static const DialogTemplate t = MakeMain();
    return t;
}

const ui::DialogTemplate& InputFormatTemplate() {
    static const DialogTemplate t = MakeInputFormat();
    return t;
}

const ui::DialogTemplate* FindTemplate(int templateId) {
    switch (templateId) {
        case IDD_ABOUTBOX:
            return &AboutTemplate();
        case IDD_VUVEREZE_DIALOG:
            return &MainTemplate();
        case IDD_INPUT_FORMAT:
            return &InputFormatTemplate();
        case IDD_STANDARD_TIMING:
            return &StandardTimingTemplate();
        case IDD_SIGNAL:
            return &SignalTemplate();
        default:
            return nullptr;
    }
}

std::string LoadResourceString(int stringId) {
    switch (stringId) {
        case IDS_ABOUTBOX:
            return "關於 Vuvereze(&A)...";
        case IDS_SIGNAL:
            return "Input &Signal...";
        default:
            return "";
    }
}

}  // namespace res
