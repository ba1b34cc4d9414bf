// What the Win32 host shows of a template's own texts on a system whose ANSI code page lacks
// their characters: the About box of a Western Windows still reads as its template does, while
// a text the program sets is shown as the program holds it.
#include <string>

#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "platform/Platform.h"
#include "tools/win32driver/Driver.h"
#include "ui/win32/Win32Host.h"

#include <windows.h>

namespace {

using windriver::TextOf;

TEST(Win32Labels, TemplateTextsKeepCharactersTheCodePageLacks) {
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no display to make windows on (the test script starts one)";
    platform::SetAnsiCodePage(platform::CodePage::Windows1252);
    ui::CWin32Host host(::GetModuleHandleW(nullptr));
    ui::SetHost(&host);
    app::CAboutDlg about;
    std::wstring title, button, label;
    std::string heldButton;
    host.SetIdleHandler([&](ui::CDialog& top) {
        title = TextOf(host.WindowOf(top));
        button = TextOf(host.ControlWindow(top, IDOK));
        heldButton = top.Control(IDOK).text;
        return false;
    });
    host.RunModal(about);
    ui::SetHost(nullptr);
    platform::ResetAnsiCodePage();
    EXPECT_EQ(title, L"\u95DC\u65BC Vuvereze");
    EXPECT_EQ(button, L"\u78BA\u5B9A");
    // The dialog itself holds the code page's rendering, as an ANSI program does.
    EXPECT_EQ(heldButton, "??");
}

}  // namespace
