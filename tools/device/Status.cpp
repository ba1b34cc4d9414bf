// `devices` and `status`: what the machine has, and what one card sees at its inputs.
#include "app/Messages.h"
#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "standards/Timing.h"
#include "timing/EditorRecord.h"
#include "timing/TextNumber.h"
#include "tools/device/Binding.h"
#include "tools/device/Commands.h"
#include "tools/table/Text.h"

namespace devicetool {
namespace {

using platform::FormatText;

// The editor's "From input" takes the list entries within this much of the measured line
// frequency.
constexpr double kMatchTolerancePercent = 0.5;
constexpr const char* kRegReadFailed = "REG read failed";

struct Input {
    const char* Name;
    uint32_t Number;
};
constexpr Input kInputs[] = {{"VGA", device::kInputVga}, {"HDMI", device::kInputHdmi}};

Json MatchJson(const standards::Listed& m) {
    const standards::Timing& t = m.Value;
    Json j;
    j["entry"] = standards::ListedLabel(m);
    j["timing"] = standards::TimingName(t);
    j["aspect"] = m.Entry->Aspect;
    j["hTotal"] = t.HTotal;
    j["vTotal"] = t.VTotal;
    j["lineFrequencyKHz"] = standards::LineFrequencyKHz(t);
    j["frameRate"] = standards::RefreshRate(t);
    j["pixelClockMHz"] = t.PixelClockKHz / 1000.0;
    j["offsetPercent"] = m.OffsetPercent;
    return j;
}

}  // namespace

int ListDevices(Context& c) {
    int code = kDone;
    device::IDeviceBackend* backend = OpenMachine(c, code);
    if (backend == nullptr)
        return code;
    Json list = Json::array();
    for (const ListedDevice& d : DeviceBoxList(*backend)) {
        list.push_back({{"name", d.Name}, {"enumerationIndex", d.EnumerationIndex}});
        c.Report.Line(d.Name);
    }
    c.Report.Doc()["devices"] = list;
    if (list.empty()) {
        // The main window would show "N/A" and let nothing be locked.
        c.Report.Error("no capture device");
        return kProblem;
    }
    return kDone;
}

int ShowStatus(Context& c, const std::string& name) {
    int code = kDone;
    device::IDeviceBackend* backend = OpenMachine(c, code);
    if (backend == nullptr)
        return code;
    Json& doc = c.Report.Doc();
    doc["device"] = name;
    CBoundDevice bound;
    if (!bound.Bind(*backend, name)) {
        c.Report.Error(name + ": " + app::kMsgDeviceError);
        return kProblem;
    }
    const device::DeviceHandle* handle = bound.Handle();
    c.Report.Line(name);

    bool problem = false;
    bool signal = false;
    Json inputs = Json::array();
    for (const Input& input : kInputs) {
        Json j{{"input", input.Name}, {"number", input.Number}};
        uint32_t status = 0;
        if (device::QueryInputStatus(handle, input.Number, &status) == device::S_OK) {
            j["status"] = status;
            j["locked"] = status != 0;
            signal = signal || status != 0;
            c.Report.Line(FormatText("%-5s %s (status %u)", input.Name,
                                     status != 0 ? "locked" : "no signal", status));
        } else {
            j["status"] = nullptr;
            j["locked"] = nullptr;
            problem = true;
            c.Report.Line(FormatText("%-5s the input status request failed", input.Name));
            c.Report.Error(FormatText("%s: the status request of input %u (%s) failed",
                                      name.c_str(), input.Number, input.Name));
        }
        inputs.push_back(j);
    }
    doc["inputs"] = inputs;

    const Detection d = Detect(handle);
    // The line frequency as the editor's field holds it: that text is what "From input" matches.
    const std::string kHz = timing::LineFreqText(d.Count);
    const double lineKHz = timing::ParseDecimalNumber(kHz);
    Json detected;
    detected["width"] = d.HasWidth ? Json(d.Width) : Json(nullptr);
    detected["height"] = d.HasHeight ? Json(d.Height) : Json(nullptr);
    detected["lineLengthCount"] = d.HasCount ? Json(d.Count) : Json(nullptr);
    detected["lineFrequencyKHz"] = d.HasCount ? Json(lineKHz) : Json(nullptr);
    doc["detected"] = detected;
    if (!d.HasWidth)
        c.Report.Error(name + ": " + kRegReadFailed + " (the detected width, FPGA 0x4110)");
    if (!d.HasHeight)
        c.Report.Error(name + ": " + kRegReadFailed + " (the detected height, FPGA 0x4114)");
    if (!d.HasCount)
        c.Report.Error(name + ": the line-length count (chip 0x44, 0xB1-0xB2) could not be read");
    problem = problem || !d.Complete();
    const auto number = [](bool has, int32_t value) {
        return has ? std::to_string(value) : std::string("?");
    };
    c.Report.Line("detected " + number(d.HasWidth, d.Width) + "x" + number(d.HasHeight, d.Height) +
                  ", line-length count " + number(d.HasCount, d.Count) +
                  (d.HasCount ? ", " + kHz + " kHz" : std::string()));

    Json matches = Json::array();
    if (d.Complete()) {
        const std::vector<standards::Listed> found =
            standards::MatchMeasurement(d.Width, d.Height, lineKHz, kMatchTolerancePercent);
        if (!found.empty()) {
            c.Report.Line(
                FormatText("agrees with %u standard timing%s (line frequency within %.1f %%):",
                           tabletool::Count(found.size()), found.size() == 1 ? "" : "s",
                           kMatchTolerancePercent));
        } else if (signal) {
            c.Report.Line("agrees with no DMT or CTA-861 timing");
        }
        for (const standards::Listed& m : found) {
            matches.push_back(MatchJson(m));
            const standards::Timing& t = m.Value;
            c.Report.Line(FormatText("  %-18s %-16s total %dx%d, %.3f kHz, %.2f Hz, %.3f MHz",
                                     standards::ListedLabel(m).c_str(),
                                     standards::TimingName(t).c_str(), t.HTotal, t.VTotal,
                                     standards::LineFrequencyKHz(t), standards::RefreshRate(t),
                                     t.PixelClockKHz / 1000.0));
        }
    }
    doc["matches"] = matches;
    doc["signal"] = signal;
    if (!signal && !problem) {
        c.Report.Error(name + ": no signal at either input");
        return kProblem;
    }
    return problem ? kProblem : kDone;
}

}  // namespace devicetool
