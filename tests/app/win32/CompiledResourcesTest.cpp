// The resources compiled into a Windows program are found by the numbers the program asks for,
// and its dialogs are made from them by the system itself, as the Win32 host makes them.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "resources/Resource.h"

#include <windows.h>

#include <commctrl.h>

namespace {

HMODULE Self() {
    return ::GetModuleHandleW(nullptr);
}

TEST(CompiledResources, EveryResourceIsThereByItsNumber) {
    for (int id : {res::IDD_ABOUTBOX, res::IDD_VUVEREZE_DIALOG, res::IDD_INPUT_FORMAT}) {
        EXPECT_NE(::FindResourceW(Self(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)), nullptr)
            << "dialog " << id;  // RT_DIALOG
    }
    EXPECT_NE(::FindResourceW(Self(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr)
        << "manifest";  // RT_MANIFEST
    EXPECT_NE(::FindResourceW(Self(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr)
        << "version";  // RT_VERSION
    EXPECT_NE(::LoadIconW(Self(), MAKEINTRESOURCEW(res::IDR_MAINFRAME)), nullptr);
    for (int size : {16, 24, 32, 48, 64, 256}) {
        HANDLE icon =
            ::LoadImageW(Self(), MAKEINTRESOURCEW(res::IDR_MAINFRAME), IMAGE_ICON, size, size, 0);
        EXPECT_NE(icon, nullptr) << size << " px";
        if (icon != nullptr)
            ::DestroyIcon(static_cast<HICON>(icon));
    }
    wchar_t text[64] = {};
    ASSERT_GT(::LoadStringW(Self(), res::IDS_ABOUTBOX, text, 64), 0);
    EXPECT_EQ(std::wstring(text), L"\u95DC\u65BC Vuvereze(&A)...");
}

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST(CompiledResources, TheSystemMakesEachDialogFromItsTemplate) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    struct Expected {
        int id;
        const wchar_t* title;
        int control;
        const wchar_t* className;
    };
    for (const Expected& e :
         {Expected{res::IDD_ABOUTBOX, L"\u95DC\u65BC Vuvereze", IDOK, L"Button"},
          Expected{res::IDD_VUVEREZE_DIALOG, L"Zeriveve", res::IDC_USER_LIST, L"SysListView32"},
          Expected{res::IDD_INPUT_FORMAT, L"  ", res::IDC_H_POLARITY, L"ComboBox"}}) {
        HWND dialog = ::CreateDialogParamW(Self(), MAKEINTRESOURCEW(e.id), nullptr, Quiet, 0);
        if (dialog == nullptr && std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no display to make windows on (the test script starts one)";
        ASSERT_NE(dialog, nullptr) << "dialog " << e.id << ", error " << ::GetLastError();
        wchar_t text[64] = {};
        ::GetWindowTextW(dialog, text, 64);
        EXPECT_EQ(std::wstring(text), e.title) << "dialog " << e.id;
        HWND control = ::GetDlgItem(dialog, e.control);
        ASSERT_NE(control, nullptr) << "dialog " << e.id << " control " << e.control;
        wchar_t name[64] = {};
        ::GetClassNameW(control, name, 64);
        EXPECT_EQ(::lstrcmpiW(name, e.className), 0) << "dialog " << e.id;
        ::DestroyWindow(dialog);
    }
}

}  // namespace
