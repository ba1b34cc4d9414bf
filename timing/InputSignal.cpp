#include "timing/InputSignal.h"

#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "timing/EditorRecord.h"
#include "timing/RegisterMap.h"
#include "timing/TextNumber.h"
#include "timing/Trace.h"

namespace timing {

const double kInputTolerancePercent = 0.5;

double MeasuredLineKHz(int32_t count) {
    return ParseDecimalNumber(LineFreqText(count));
}

std::vector<standards::Listed> MatchFromInput(const Measurement& measured) {
    if (!(measured.LineKHz > 0.0))
        return {};
    return standards::MatchMeasurement(measured.Width, measured.Height, measured.LineKHz,
                                       kInputTolerancePercent);
}

std::string NoMatchText(const Measurement& measured) {
    return FormatText("No DMT or CTA-861 timing agrees with %dx%d at %.2f kHz.", measured.Width,
                      measured.Height, measured.LineKHz);
}

std::vector<std::string> MatchTexts(const standards::Listed& match) {
    const standards::Timing& t = match.Value;
    return {standards::ListedLabel(match), standards::TimingName(t), match.Entry->Aspect,
            FormatText("%.3f (%+.2f %%)", standards::LineFrequencyKHz(t), match.OffsetPercent),
            FormatText("%.3f", t.PixelClockKHz / 1000.0)};
}

Measurement InputReading::AsMeasurement() const {
    Measurement m;
    if (MeasurementComplete()) {
        m.Width = Width;
        m.Height = Height;
        m.LineKHz = MeasuredLineKHz(Count);
    }
    return m;
}

bool InputReading::operator==(const InputReading& o) const {
    const auto same = [](const Status& a, const Status& b) {
        return a.Read == b.Read && (!a.Read || a.Value == b.Value);
    };
    return same(Vga, o.Vga) && same(Hdmi, o.Hdmi) && HasWidth == o.HasWidth &&
           HasHeight == o.HasHeight && HasCount == o.HasCount && (!HasWidth || Width == o.Width) &&
           (!HasHeight || Height == o.Height) && (!HasCount || Count == o.Count);
}

InputReading ReadDetection(const device::DeviceHandle* handle) {
    InputReading r;
    uint32_t value = 0;
    if (device::ReadFpgaRegister(handle, regmap::kFpgaDetectedWidth, &value)) {
        r.HasWidth = true;
        r.Width = static_cast<int32_t>(value);
    }
    if (device::ReadFpgaRegister(handle, regmap::kFpgaDetectedHeight, &value)) {
        r.HasHeight = true;
        r.Height = static_cast<int32_t>(value);
    }
    uint8_t bytes[2] = {0, 0};
    const regmap::RegisterField& high = regmap::kLineLengthHigh;
    if (device::ReadChipRegisters(handle, high.bus, high.reg, 2, bytes)) {
        r.HasCount = true;
        r.Count = static_cast<int32_t>(regmap::Take(bytes[0], high) |
                                       regmap::Take(bytes[1], regmap::kLineLengthLow));
    }
    return r;
}

InputReading ReadInputs(const device::DeviceHandle* handle) {
    const auto query = [handle](uint32_t input) {
        InputReading::Status status;
        status.Read = device::QueryInputStatus(handle, input, &status.Value) == device::S_OK;
        if (!status.Read)
            status.Value = 0;
        return status;
    };
    const InputReading::Status vga = query(device::kInputVga);
    const InputReading::Status hdmi = query(device::kInputHdmi);
    InputReading r = ReadDetection(handle);
    r.Vga = vga;
    r.Hdmi = hdmi;
    return r;
}

}  // namespace timing
