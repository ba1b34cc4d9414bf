// The three text-to-number rules and the editor's register derivation over arbitrary field
// texts: no crash, no undefined arithmetic, and the rules agree with each other where they must.
#include <cmath>
#include <string>

#include "app/VuverezeDlg.h"
#include "device/DeviceBackend.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Platform.h"
#include "resources/Resource.h"
#include "timing/InputFormatDlg.h"
#include "timing/TextNumber.h"
#include "ui/headless/HeadlessHost.h"

namespace {

class CNoDevices final : public device::IDeviceBackend {
  public:
    device::HRESULT CreateSystemDeviceEnum(device::ICreateDevEnum** out) override {
        *out = nullptr;
        return device::E_FAIL;
    }
};

struct Editor {
    platform::CVirtualClock clock;
    ui::CHeadlessHost host;
    CNoDevices devices;
    app::CVuverezeDlg main{devices};
    std::unique_ptr<timing::CInputFormatDlg> editor;

    Editor() {
        ui::SetHost(&host);
        platform::SetClock(&clock);
        platform::SetDebugSink([](std::string_view) {});
        main.Create();
        editor = std::make_unique<timing::CInputFormatDlg>(&main, -1);
        ui::InitDialog(*editor);
    }
};

constexpr int kFields[] = {res::IDC_H_TOTAL, res::IDC_V_TOTAL,       res::IDC_V_ACTIVE,
                           res::IDC_V_SYNC,  res::IDC_V_FRONT_PORCH, res::IDC_FRAME_RATE};

// Blanks, a sign, one to nine digits, then nothing that could continue a decimal number.
bool PlainSmallInteger(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const size_t count = i - digits;
    return count >= 1 && count <= 9 &&
           (i == text.size() || (text[i] != '.' && text[i] != 'e' && text[i] != 'E'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const int32_t decimal = timing::ParseDecimalInt(text);
    const uint32_t hex = timing::ParseHex(text);
    const double number = timing::ParseDecimalNumber(text);
    const int32_t hundredths = timing::Hundredths(text);
    FUZZ_CHECK(std::isfinite(number));
    // A plain integer of a few digits means the same to the decimal and the number rule.
    // (Longer ones part ways on purpose: the first clamps, the second counts a number beyond
    // the double range as none.)
    if (PlainSmallInteger(text))
        FUZZ_CHECK(static_cast<double>(decimal) == number);
    (void)hex;
    (void)hundredths;

    // The same bytes, split at zero bytes, become the editor's timing fields.
    static Editor editor;
    editor.host.ClearRecords();
    size_t at = 0;
    for (int id : kFields) {
        const size_t end = std::min(text.find('\0', at), text.size());
        editor.editor->SetDlgItemText(id, at < text.size() ? text.substr(at, end - at) : "");
        at = end + 1;
    }
    ui::CComboBox(editor.editor.get(), res::IDC_INTERLACE).SetCurSel(size % 3 - 1);
    editor.editor->CalcFrameRegisters();
    editor.editor->CalcField1Blanking();
    editor.editor->CalcField2Blanking();
    return 0;
}
