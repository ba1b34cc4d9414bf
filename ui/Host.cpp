// The process-wide parts of the dialog layer: the host, the program's name and the end of the
// program.
#include <algorithm>

#include "ui/Dialog.h"

namespace ui {
namespace {

// Stands in until a host is installed, so that code run outside any host (a library test that
// never shows a window) reaches a harmless answer instead of a null host.
class CNullHost final : public IHost {
  public:
    intptr_t RunModal(CDialog& dlg) override {
        InitDialog(dlg);
        ServePosted(dlg);
        const intptr_t result = dlg.HasEnded() ? dlg.Result() : IDCANCEL;
        dlg.Destroy();
        return result;
    }
    void Changed(CDialog&, int) override {}
    int MessageBox(const std::string&, const std::string&, uint32_t type) override {
        return DefaultButton(type);
    }
    bool FileDialog(const FileDialogRequest&, std::string&) override { return false; }
    int TextWidth(CDialog&, int, const std::string& text) override {
        return static_cast<int>(text.size()) * 6;
    }
    int ListRowHeight(CDialog&, int) override { return 16; }
};

CNullHost g_nullHost;
IHost* g_host = nullptr;
std::string g_appName = "Vuvereze";
bool g_quitting = false;
int g_exitCode = 0;

}  // namespace

int IHost::ListPageRows(CDialog& dlg, int controlId) {
    const int rowHeight = ListRowHeight(dlg, controlId);
    if (rowHeight <= 0 || !dlg.HasControl(controlId)) {
        return 1;
    }
    return std::max(1, (dlg.Control(controlId).rect.cy * 2 - rowHeight) / rowHeight);
}

void SetHost(IHost* host) {
    g_host = host;
}

IHost& Host() {
    return g_host != nullptr ? *g_host : g_nullHost;
}

void SetAppName(const std::string& name) {
    g_appName = name;
}

const std::string& AppName() {
    return g_appName;
}

int MessageBox(const std::string& ansiText) {
    return Host().MessageBox(ansiText, AppName(), MB_OK | MB_ICONEXCLAMATION);
}

int AskYesNo(const std::string& ansiText) {
    const int answer =
        Host().MessageBox(ansiText, AppName(), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    // A box closed some other way (the system closing it) changes nothing, as No does.
    return answer == IDYES ? IDYES : IDNO;
}

void Quit(int exitCode) {
    // The first request decides the exit code: later ones come from loops that are unwinding.
    if (!g_quitting) {
        g_exitCode = exitCode;
    }
    g_quitting = true;
}

bool Quitting() {
    return g_quitting;
}

int ExitCode() {
    return g_exitCode;
}

void ResetQuit() {
    g_quitting = false;
    g_exitCode = 0;
}

}  // namespace ui
