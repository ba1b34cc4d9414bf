#include "tools/device/StandardRecord.h"

#include "app/Messages.h"
#include "format/TimingMath.h"
#include "timing/EditorRecord.h"
#include "timing/InputSignal.h"
#include "tools/device/Binding.h"
#include "tools/device/StandardChoice.h"
#include "tools/table/Text.h"

namespace devicetool {
namespace {

using platform::FormatText;

constexpr int32_t kLargestCount = 0x3FFF;  // the chip's counter has 14 bits
// How far a card's count of a signal may lie from the count its timing gives: the rounding of
// the counter and of the signal's clock.
constexpr int32_t kCountSlack = 2;

// The count measured on the card, as Detect measures it; refused when the card cannot tell or
// shows another signal than the timing's, since the count would then belong to that signal.
int Measure(Context& c, const standards::Timing& t, int32_t& count) {
    const std::string& name = c.Opts.Device;
    int code = kDone;
    device::IDeviceBackend* backend = OpenMachine(c, code);
    if (backend == nullptr)
        return code;
    CBoundDevice bound;
    if (!bound.Bind(*backend, name)) {
        c.Report.Error(name + ": " + app::kMsgDeviceError);
        return kProblem;
    }
    const timing::InputReading d = timing::ReadDetection(bound.Handle());
    if (!d.MeasurementComplete()) {
        c.Report.Error(name + ": the card could not be measured (a register read failed)");
        return kProblem;
    }
    if (d.Count == 0) {
        c.Report.Error(name + ": no signal to measure");
        return kProblem;
    }
    // While the chip follows the input by itself the card shows an interlaced signal's whole
    // frame; once set for it, one field.
    const bool sameSize = d.Width == t.HActive &&
                          (d.Height == t.VActive || (t.Interlaced && d.Height == t.VActive / 2));
    if (!sameSize) {
        c.Report.Error(
            FormatText("%s detects %dx%d, not the %dx%d of the timing: its count belongs "
                       "to another signal",
                       name.c_str(), d.Width, d.Height, t.HActive, t.VActive));
        return kProblem;
    }
    // On a signal of another timing of the same size, the editor's Test, which programs the
    // card with this timing and measures again, would move the picture by what it then finds.
    // This command programs nothing, so it takes the card's count only for a signal of this
    // very timing, whose count it meets to the counter's rounding.
    const int32_t own = fmt::LineLengthCount(standards::LineFrequencyKHz(t) * 1000.0);
    if (d.Count < own - kCountSlack || d.Count > own + kCountSlack) {
        c.Report.Error(
            FormatText("%s measures a line-length count of %d, not the %d of this timing: "
                       "it receives another one, on which the editor's Test would move "
                       "the picture; add the timing it receives (see status), or add "
                       "this one without --device",
                       name.c_str(), d.Count, own));
        return kProblem;
    }
    count = d.Count;
    return kDone;
}

bool ParseCount(const std::string& text, int32_t& count) {
    if (text.empty() || text.size() > 5)
        return false;
    int32_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        value = value * 10 + (ch - '0');
    }
    count = value;
    return value >= 1 && value <= kLargestCount;
}

}  // namespace

int MakeStandardRecord(Context& c, const std::vector<std::string>& words, StandardRecord& made) {
    StandardChoice choice;
    std::string why;
    const int chosen = ChooseStandard(words, choice, why);
    if (chosen != kDone) {
        c.Report.Error(why);
        return chosen;
    }
    const standards::Timing& t = choice.Timing;
    made.Standard = choice.Standard;
    made.TimingName = standards::TimingName(t);
    made.Note = choice.Note;

    int32_t count = 0;
    Json& m = made.Measurement;
    if (!c.Opts.Device.empty()) {
        const int code = Measure(c, t, count);
        if (code != kDone)
            return code;
        m["lineLengthFrom"] = "device";
        m["device"] = c.Opts.Device;
    } else if (c.Opts.HasLineLength) {
        if (!ParseCount(c.Opts.LineLength, count)) {
            c.Report.Error("--line-length takes a count from 1 to 16383, as the card measures it");
            return kUsage;
        }
        m["lineLengthFrom"] = "option";
    } else {
        count = fmt::LineLengthCount(standards::LineFrequencyKHz(t) * 1000.0);
        m["lineLengthFrom"] = "timing";
    }
    m["lineLengthCount"] = count;
    m["lineFrequencyKHz"] = timing::LineFreqText(count);
    m["outputPosition"] = "0, as a Test finds it on a signal of this timing";

    timing::RecordFields fields;
    if (!timing::FieldsAfterStandardTest(t, count, fields, why)) {
        c.Report.Error(made.Standard + " " + made.TimingName + ": " + why);
        return kProblem;
    }
    made.Record = timing::BuildRecord(fields, fmt::FormatRecord{});
    const char* from = !c.Opts.Device.empty() ? "measured on the card"
                       : c.Opts.HasLineLength ? "given"
                                              : "what a card measures for this timing";
    c.Report.Line(FormatText("%s %s: line-length count %d (%s kHz), %s", made.Standard.c_str(),
                             made.TimingName.c_str(), count, timing::LineFreqText(count).c_str(),
                             from));
    if (!made.Note.empty())
        c.Report.Line(made.Note);
    return kDone;
}

}  // namespace devicetool
