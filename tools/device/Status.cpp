// `devices` and `status`: what the machine has, and what one card sees at its inputs.
#include "tools/device/Status.h"

#include "app/Messages.h"
#include "device/DriverProtocol.h"
#include "timing/EditorRecord.h"
#include "tools/device/Binding.h"
#include "tools/table/Text.h"

namespace devicetool {
namespace {

using platform::FormatText;

constexpr const char* kRegReadFailed = "REG read failed";

struct InputName {
    const char* Name;
    uint32_t Number;
    timing::InputReading::Status timing::InputReading::*Status;
};
constexpr InputName kInputs[] = {{"VGA", device::kInputVga, &timing::InputReading::Vga},
                                 {"HDMI", device::kInputHdmi, &timing::InputReading::Hdmi}};

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

std::string Number(bool has, int32_t value) {
    return has ? std::to_string(value) : std::string("?");
}

}  // namespace

std::vector<standards::Listed> ReadingMatches(const timing::InputReading& r) {
    return timing::MatchFromInput(r.AsMeasurement());
}

std::string StatusText(const timing::InputReading::Status& status) {
    if (!status.Read)
        return "the input status request failed";
    return FormatText("%s (status %u)", status.Value != 0 ? "locked" : "no signal", status.Value);
}

std::string DetectedText(const timing::InputReading& r) {
    return "detected " + Number(r.HasWidth, r.Width) + "x" + Number(r.HasHeight, r.Height) +
           ", line-length count " + Number(r.HasCount, r.Count) +
           (r.HasCount ? ", " + timing::LineFreqText(r.Count) + " kHz" : std::string());
}

void PutReading(Json& doc, const timing::InputReading& r,
                const std::vector<standards::Listed>& matches) {
    Json inputs = Json::array();
    for (const InputName& input : kInputs) {
        const timing::InputReading::Status& status = r.*input.Status;
        Json j{{"input", input.Name}, {"number", input.Number}};
        j["status"] = status.Read ? Json(status.Value) : Json(nullptr);
        j["locked"] = status.Read ? Json(status.Value != 0) : Json(nullptr);
        inputs.push_back(j);
    }
    doc["inputs"] = inputs;
    Json detected;
    detected["width"] = r.HasWidth ? Json(r.Width) : Json(nullptr);
    detected["height"] = r.HasHeight ? Json(r.Height) : Json(nullptr);
    detected["lineLengthCount"] = r.HasCount ? Json(r.Count) : Json(nullptr);
    detected["lineFrequencyKHz"] =
        r.HasCount ? Json(timing::MeasuredLineKHz(r.Count)) : Json(nullptr);
    doc["detected"] = detected;
    Json list = Json::array();
    for (const standards::Listed& m : matches)
        list.push_back(MatchJson(m));
    doc["matches"] = list;
    doc["signal"] = r.SomeInputLocked();
}

std::vector<std::string> ReadingErrors(const std::string& name, const timing::InputReading& r) {
    std::vector<std::string> errors;
    for (const InputName& input : kInputs) {
        if (!(r.*input.Status).Read)
            errors.push_back(FormatText("%s: the status request of input %u (%s) failed",
                                        name.c_str(), input.Number, input.Name));
    }
    if (!r.HasWidth)
        errors.push_back(name + ": " + kRegReadFailed + " (the detected width, FPGA 0x4110)");
    if (!r.HasHeight)
        errors.push_back(name + ": " + kRegReadFailed + " (the detected height, FPGA 0x4114)");
    if (!r.HasCount)
        errors.push_back(name + ": the line-length count (chip 0x44, 0xB1-0xB2) could not be read");
    return errors;
}

std::vector<std::string> ReadingLines(const timing::InputReading& r,
                                      const std::vector<standards::Listed>& matches) {
    std::vector<std::string> lines;
    for (const InputName& input : kInputs)
        lines.push_back(FormatText("%-5s %s", input.Name, StatusText(r.*input.Status).c_str()));
    lines.push_back(DetectedText(r));
    if (!matches.empty()) {
        lines.push_back(
            FormatText("agrees with %u standard timing%s (line frequency within %.1f %%):",
                       tabletool::Count(matches.size()), matches.size() == 1 ? "" : "s",
                       timing::kInputTolerancePercent));
    } else if (r.MeasurementComplete() && r.SomeInputLocked()) {
        lines.push_back("agrees with no DMT or CTA-861 timing");
    }
    for (const standards::Listed& m : matches) {
        const standards::Timing& t = m.Value;
        lines.push_back(FormatText(
            "  %-18s %-16s total %dx%d, %.3f kHz, %.2f Hz, %.3f MHz",
            standards::ListedLabel(m).c_str(), standards::TimingName(t).c_str(), t.HTotal, t.VTotal,
            standards::LineFrequencyKHz(t), standards::RefreshRate(t), t.PixelClockKHz / 1000.0));
    }
    return lines;
}

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
    c.Report.Doc()["device"] = name;
    CBoundDevice bound;
    if (!bound.Bind(*backend, name)) {
        c.Report.Error(name + ": " + app::kMsgDeviceError);
        return kProblem;
    }
    if (c.Opts.Watch)
        return WatchStatus(c, name, bound.Handle());

    const timing::InputReading r = timing::ReadInputs(bound.Handle());
    const std::vector<standards::Listed> matches = ReadingMatches(r);
    PutReading(c.Report.Doc(), r, matches);
    c.Report.Line(name);
    for (const std::string& line : ReadingLines(r, matches))
        c.Report.Line(line);
    const std::vector<std::string> errors = ReadingErrors(name, r);
    for (const std::string& error : errors)
        c.Report.Error(error);
    if (!r.SomeInputLocked() && errors.empty()) {
        c.Report.Error(name + ": no signal at either input");
        return kProblem;
    }
    return errors.empty() ? kDone : kProblem;
}

}  // namespace devicetool
