#include "app/VuverezeApp.h"

#include "app/VuverezeDlg.h"

namespace app {

CVuverezeApp::CVuverezeApp(device::IDeviceBackend& devices, std::function<int32_t()> coInitialize)
    : m_devices(devices), m_coInitialize(std::move(coInitialize)) {}

bool CVuverezeApp::InitInstance() {
    // ICC_WIN95_CLASSES in an INITCOMMONCONTROLSEX of 8 bytes: list views, headers and the rest.
    m_commonControlsSize = 8;
    m_commonControlsClasses = 0xFF;
    m_registryKey = "本機 AppWizard 所產生的應用程式";

    int32_t hr = m_coInitialize ? m_coInitialize() : 0;
    if (hr < 0) {
        m_exitCode = 1;
        return false;
    }
    ui::ResetQuit();
    {
        CVuverezeDlg dlg(m_devices);
        dlg.DoModal();
    }
    m_exitCode = ui::Quitting() ? ui::ExitCode() : 0;
    return false;
}

int CVuverezeApp::Run() {
    InitInstance();
    return m_exitCode;
}

}  // namespace app
