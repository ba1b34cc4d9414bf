// What a screen reader reads of every window of the program on Windows, asked as any client of
// Microsoft Active Accessibility asks it: each control's name and description are the dialog
// layer's, and its role and state the system's own. Wine's standard objects know the edit
// only: the rest are plain windows to it (ROLE_SYSTEM_CLIENT), which Windows knows as buttons,
// check boxes, combo boxes and lists.
#include <string>

#include <gtest/gtest.h>

#include "resources/Resource.h"
#include "ui/Accessible.h"
#include "ui/win32/Win32Host.h"

// The Windows headers after the dialog layer's, whose constants carry the same names.
#include "tools/win32driver/Driver.h"

#include <windows.h>

#include <oleacc.h>

namespace {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                         wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(size));
    return wide;
}

long RoleOf(ui::ControlKind kind) {
    switch (kind) {
        case ui::ControlKind::Edit:
            return ROLE_SYSTEM_TEXT;
        case ui::ControlKind::PushButton:
            return ROLE_SYSTEM_PUSHBUTTON;
        case ui::ControlKind::CheckBox:
            return ROLE_SYSTEM_CHECKBUTTON;
        case ui::ControlKind::ComboBox:
        case ui::ControlKind::DropDownList:
            return ROLE_SYSTEM_COMBOBOX;
        default:
            return ROLE_SYSTEM_LIST;
    }
}

TEST(Win32Accessibility, EveryWindowReadsAsTheDialogLayerNamesIt) {
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no display to make windows on (the test script starts one)";
    CoInitialize(nullptr);
    const bool wine = UnderWine();
    ui::CWin32Host host(GetModuleHandleW(nullptr));
    ui::SetHost(&host);
    int windows = 0;
    for (int id = 1; id < 1000; ++id) {
        const ui::DialogTemplate* t = res::FindTemplate(id);
        if (t == nullptr)
            continue;
        ++windows;
        ui::CDialog dlg(*t);
        host.SetIdleHandler([&](ui::CDialog& top) {
            for (size_t i = 0; i < top.Controls().size(); ++i) {
                const ui::ControlState& control = top.Controls()[i];
                if (!control.visible || !ui::NeedsAccessibleName(control.kind))
                    continue;
                const std::string where =
                    "dialog " + std::to_string(id) + ", control " + std::to_string(control.id);
                windriver::AccessibleRead read;
                if (!windriver::ReadAccessible(host.ControlWindow(top, control.id), read)) {
                    ADD_FAILURE() << where << ": no accessible object";
                    continue;
                }
                EXPECT_EQ(read.name, Wide(ui::AccessibleName(top, i))) << where;
                EXPECT_EQ(read.description, Wide(ui::AccessibleDescription(*t, i))) << where;
                const bool known = control.kind == ui::ControlKind::Edit || !wine;
                EXPECT_EQ(read.role, known ? RoleOf(control.kind) : ROLE_SYSTEM_CLIENT) << where;
                const bool readOnly =
                    (control.style & ES_READONLY) != 0 && control.kind == ui::ControlKind::Edit;
                EXPECT_EQ((read.state & STATE_SYSTEM_READONLY) != 0, readOnly) << where;
            }
            return false;
        });
        host.RunModal(dlg);
    }
    host.SetIdleHandler(nullptr);
    ui::SetHost(nullptr);
    EXPECT_GE(windows, 4);
}

}  // namespace
