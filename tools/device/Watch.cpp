// `status DEVICE --watch`: the status once, then a line each time what the card sees changes,
// each with the time it was seen, until the user interrupts it or the card answers nothing.
#include <csignal>
#include <cstdio>

#include "platform/Platform.h"
#include "timing/EditorRecord.h"
#include "tools/device/Status.h"

namespace devicetool {
namespace {

using platform::FormatText;

volatile std::sig_atomic_t g_stop = 0;

// Ctrl-C is looked for this often while the watch waits for its next round.
constexpr uint32_t kStopSliceMs = 100;

// "2024-05-01T12:34:56.789Z": UTC, so the lines of machines in different zones compare.
std::string TimeStamp(int64_t unixMs) {
    int64_t days = unixMs / 86400000;
    int64_t ms = unixMs % 86400000;
    if (ms < 0) {
        ms += 86400000;
        --days;
    }
    // Days to a civil date (proleptic Gregorian), after H. Hinnant's algorithm.
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return FormatText("%04lld-%02lld-%02lldT%02lld:%02lld:%02lld.%03lldZ",
                      static_cast<long long>(year), static_cast<long long>(month),
                      static_cast<long long>(day), static_cast<long long>(ms / 3600000),
                      static_cast<long long>(ms / 60000 % 60),
                      static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
}

std::string Size(const timing::InputReading& r) {
    return (r.HasWidth ? std::to_string(r.Width) : "?") + "x" +
           (r.HasHeight ? std::to_string(r.Height) : "?");
}

std::string Count(const timing::InputReading& r) {
    return r.HasCount ? std::to_string(r.Count) : "?";
}

void InputChange(const char* name, const timing::InputReading::Status& was,
                 const timing::InputReading::Status& now, std::vector<std::string>& changes) {
    if (was.Read == now.Read && was.Value == now.Value)
        return;
    const bool wasLocked = was.Read && was.Value != 0;
    if (!now.Read)
        changes.push_back(std::string(name) + " status request failed");
    else if (now.Value != 0)
        changes.push_back(std::string(name) + (wasLocked ? FormatText(" status %u", now.Value)
                                                         : std::string(" locked")));
    else
        changes.push_back(std::string(name) + (wasLocked ? " lost" : " no signal"));
}

// What differs between two readings, as a person names it.
std::vector<std::string> Changes(const timing::InputReading& was, const timing::InputReading& now) {
    std::vector<std::string> changes;
    InputChange("VGA", was.Vga, now.Vga, changes);
    InputChange("HDMI", was.Hdmi, now.Hdmi, changes);
    if (Size(was) != Size(now))
        changes.push_back("size " + Size(was) + " -> " + Size(now));
    if (Count(was) != Count(now)) {
        changes.push_back("line-length count " + Count(was) + " -> " + Count(now) +
                          (now.HasCount ? " (" + timing::LineFreqText(now.Count) + " kHz)" : ""));
    }
    return changes;
}

std::string Join(const std::vector<std::string>& parts, const char* between) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : between) + part;
    return text;
}

// The whole reading on one line: what an eye running down the watch needs.
std::string Summary(const timing::InputReading& r, const std::vector<standards::Listed>& matches) {
    std::string text =
        "VGA " + StatusText(r.Vga) + ", HDMI " + StatusText(r.Hdmi) + ", " + DetectedText(r);
    std::vector<std::string> labels;
    for (const standards::Listed& m : matches)
        labels.push_back(standards::ListedLabel(m) + " " + standards::TimingName(m.Value));
    if (!labels.empty())
        text += "; agrees with " + Join(labels, ", ");
    return text;
}

// Catches the interrupt for as long as it lives.
class CInterruptScope {
  public:
    CInterruptScope() {
        g_stop = 0;
        CatchInterrupt(true);
    }
    ~CInterruptScope() { CatchInterrupt(false); }
    CInterruptScope(const CInterruptScope&) = delete;
    CInterruptScope& operator=(const CInterruptScope&) = delete;
};

// Waits one interval on the platform clock, looking for an interrupt now and then; false when
// one came.
bool WaitInterval(uint32_t ms) {
    for (uint32_t left = ms; left > 0 && !StopRequested();) {
        const uint32_t slice = left < kStopSliceMs ? left : kStopSliceMs;
        platform::Sleep(slice);
        left -= slice;
    }
    return !StopRequested();
}

}  // namespace

void RequestStop() {
    g_stop = 1;
}

bool StopRequested() {
    return g_stop != 0;
}

int WatchStatus(Context& c, const std::string& name, const device::DeviceHandle* handle) {
    CInterruptScope interrupt;
    c.Report.Streamed();
    platform::IClock& clock = platform::Clock();
    const uint64_t started = clock.NowMs();
    const int64_t wallStarted = c.Machine.WallClockMs();
    const auto stamp = [&] {
        return TimeStamp(wallStarted + static_cast<int64_t>(clock.NowMs() - started));
    };
    // Every line goes out at once: a watch is read while it runs, and a pipe that closed
    // ends it.
    const auto emit = [&](const Json& doc, const std::string& text) {
        c.Out << (c.Opts.Json ? doc.dump(-1, ' ', true, Json::error_handler_t::replace) : text)
              << '\n';
        c.Out.flush();
        return static_cast<bool>(c.Out);
    };
    const auto errors = [&](const std::vector<std::string>& list) {
        for (const std::string& error : list)
            c.Err << "vuvereze-device: " << error << '\n';
        c.Err.flush();
    };

    timing::InputReading seen = timing::ReadInputs(handle);
    std::vector<standards::Listed> matches = ReadingMatches(seen);
    Json first{{"command", "status"}, {"event", "status"}, {"time", stamp()}, {"device", name}};
    PutReading(first, seen, matches);
    first["errors"] = ReadingErrors(name, seen);
    std::string text = name;
    for (const std::string& line : ReadingLines(seen, matches))
        text += "\n" + line;
    bool written = emit(first, text);
    errors(ReadingErrors(name, seen));

    bool gone = seen.NothingAnswered();
    while (written && !gone && WaitInterval(c.Opts.IntervalMs)) {
        const timing::InputReading now = timing::ReadInputs(handle);
        gone = now.NothingAnswered();
        if (gone || now == seen)
            continue;
        const std::vector<std::string> changes = Changes(seen, now);
        const std::vector<standards::Listed> nowMatches = ReadingMatches(now);
        Json doc{{"event", "change"}, {"time", stamp()}, {"changes", changes}};
        PutReading(doc, now, nowMatches);
        doc["errors"] = ReadingErrors(name, now);
        written =
            emit(doc, stamp() + "  " + Join(changes, ", ") + "; now " + Summary(now, nowMatches));
        seen = now;
    }
    if (!written) {
        c.Err << "vuvereze-device: the report could not be written to standard output\n";
        return kProblem;
    }
    const std::string why = name + ": the card answers no request: it is gone";
    Json end{{"event", "end"},
             {"time", stamp()},
             {"reason", gone ? "gone" : "interrupted"},
             {"ok", !gone},
             {"errors", gone ? std::vector<std::string>{why} : std::vector<std::string>{}}};
    if (c.Opts.Json || gone)
        emit(end, stamp() + "  " + (gone ? "the card answers no request: it is gone" : ""));
    if (gone) {
        errors({why});
        return kProblem;
    }
    return kDone;
}

}  // namespace devicetool
