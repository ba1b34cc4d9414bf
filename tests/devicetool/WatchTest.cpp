// `status DEVICE --watch`: the status, then one line for each change the card sees, stamped with
// the time it was seen, on the platform clock; the end by Ctrl-C or by a card that answers no
// more.
#include <functional>
#include <map>
#include <sstream>

#include "DeviceToolFixture.h"
#include "device/DriverProtocol.h"
#include "tools/device/Status.h"

namespace devicetest {
namespace {

// The clock of a watched machine: at the given moments something happens to the card (a cable,
// Ctrl-C), as time passes in the watch's waits.
class CEventClock final : public platform::IClock {
  public:
    uint64_t NowMs() override { return m_now; }
    void Sleep(uint32_t ms) override {
        m_now += ms;
        while (!m_events.empty() && m_events.begin()->first <= m_now) {
            auto event = std::move(m_events.begin()->second);
            m_events.erase(m_events.begin());
            event();
        }
    }
    void At(uint64_t ms, std::function<void()> event) { m_events.emplace(ms, std::move(event)); }

  private:
    uint64_t m_now = 0;
    std::multimap<uint64_t, std::function<void()>> m_events;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class StatusWatch : public DeviceToolTest {
  protected:
    StatusWatch() { platform::SetClock(&m_events); }

    sim::CSimCard& Card() { return m_machine->System().Card(0); }
    void Signal(uint64_t at, uint32_t input, const char* name) {
        m_events.At(at, [this, input, name] {
            const sim::StandardTiming* timing = sim::FindStandardTiming(name);
            Card().SetInput(input, timing ? std::optional(timing->Timing) : std::nullopt);
        });
    }
    void Interrupt(uint64_t at) {
        m_events.At(at, [] { devicetool::RequestStop(); });
    }

    CEventClock m_events;
};

TEST_F(StatusWatch, PrintsTheStatusThenALineForEveryChangeWithItsTimeUntilInterrupted) {
    Machine({Device("Capture HD", "1920x1080p60")});
    // Lock's wait ends at 1 s; the card is read then and every second after.
    Signal(2500, device::kInputHdmi, "none");
    Signal(4500, device::kInputHdmi, "1280x720p60");
    Interrupt(6050);
    const ToolRun run = RunTool({"status", "Capture HD", "--watch"});
    EXPECT_EQ(run.code, 0) << "Ctrl-C is the way a watch ends";
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 14u) << run.out;
    EXPECT_EQ(lines[0], "Capture HD");
    EXPECT_EQ(lines[2], "HDMI  locked (status 1)");
    EXPECT_EQ(lines[3], "detected 1920x1080, line-length count 3394, 67.50 kHz");
    // Nothing changed at 2 s and 4 s: no line then.
    EXPECT_EQ(lines[12],
              "2024-05-01T12:34:58.789Z  HDMI lost, size 1920x1080 -> 0x0, line-length count "
              "3394 -> 0 (0.00 kHz); now VGA no signal (status 0), HDMI no signal (status 0), "
              "detected 0x0, line-length count 0, 0.00 kHz");
    EXPECT_EQ(lines[13].substr(0, 26), "2024-05-01T12:35:00.789Z  ");
    EXPECT_NE(lines[13].find("HDMI locked, size 0x0 -> 1280x720, line-length count 0 -> 5091 "
                             "(45.00 kHz); now "),
              std::string::npos)
        << lines[13];
    EXPECT_NE(lines[13].find("agrees with DMT 0x55 1280x720p60, VIC 4 1280x720p60"),
              std::string::npos)
        << lines[13];
    // One round a second from 1 s to 6 s, five requests each.
    EXPECT_EQ(CardLog(0).size(), 6u * 5u);
}

TEST_F(StatusWatch, InJsonEachObjectIsALineAndTheEndSaysWhy) {
    Machine({Device("Capture HD", "none", "1024x768p60")});
    Signal(1600, device::kInputVga, "800x600p60");
    Interrupt(2100);
    const ToolRun run = RunTool({"status", "Capture HD", "--watch", "--json", "--interval=0.5"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    const nlohmann::json first = nlohmann::json::parse(lines[0]);
    EXPECT_EQ(first["event"], "status");
    EXPECT_EQ(first["time"], "2024-05-01T12:34:56.789Z");
    EXPECT_EQ(first["detected"]["width"], 1024);
    EXPECT_EQ(first["matches"][0]["entry"], "DMT 0x10");
    const nlohmann::json change = nlohmann::json::parse(lines[1]);
    EXPECT_EQ(change["event"], "change");
    EXPECT_EQ(change["time"], "2024-05-01T12:34:57.789Z")
        << "the round at 2 s, half a second apart";
    EXPECT_EQ(change["changes"][0], "size 1024x768 -> 800x600");
    EXPECT_EQ(change["detected"]["lineLengthCount"], 6048);
    EXPECT_EQ(change["inputs"][0]["locked"], true);
    const nlohmann::json end = nlohmann::json::parse(lines[2]);
    EXPECT_EQ(end["event"], "end");
    EXPECT_EQ(end["reason"], "interrupted");
    EXPECT_EQ(end["ok"], true);
}

TEST_F(StatusWatch, ACardThatAnswersNoMoreEndsItAsAProblemWhileAFailedRequestDoesNot) {
    Machine({Device("Capture HD", "1920x1080p60", "none", {"status"})});
    m_events.At(3500, [this] { Card().SetUnplugged(true); });
    const ToolRun run = RunTool({"status", "Capture HD", "--watch"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[1], "VGA   the input status request failed");
    EXPECT_EQ(lines.back(), "2024-05-01T12:34:59.789Z  the card answers no request: it is gone");
    EXPECT_NE(run.err.find("the status request of input 1 (VGA) failed"), std::string::npos);
    EXPECT_NE(run.err.find("Capture HD: the card answers no request: it is gone"),
              std::string::npos);
}

TEST_F(StatusWatch, TheIntervalIsSecondsWithinLimitsAndBelongsToTheWatch) {
    Machine({Device("Capture HD", "1920x1080p60")});
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"status", "Capture HD", "--watch", "--interval", "0"},
          {"status", "Capture HD", "--watch", "--interval", "0.05"},
          {"status", "Capture HD", "--watch", "--interval", "3601"},
          {"status", "Capture HD", "--watch", "--interval", "1s"},
          {"status", "Capture HD", "--watch", "--interval"},
          {"status", "Capture HD", "--interval", "2"},
          {"devices", "--watch"}}) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.code, devicetool::kUsage) << args.back();
    }
}

}  // namespace
}  // namespace devicetest
