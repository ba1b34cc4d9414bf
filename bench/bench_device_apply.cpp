// `vuvereze-device apply` on the default machine with a full table (256 records, 31746 bytes):
// when the table is in place already (read, compare, nothing written, nothing asked), when it
// changes (written beside the target, synced, put in place, the driver reloading it), and a
// plain copy of the same file beside them, with and without a sync. Each apply is the whole
// command in this process: the machine opened and activated, the card bound, the report made.
// Lock's wait of 1000 ms goes to a virtual clock and is not counted; a real run adds it.
//
//   bench_device_apply [runs]     (default 200; prints the median and the 90th percentile)
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "sim/VideoTiming.h"
#include "sim/VirtualSystem.h"
#include "tools/device/DeviceTool.h"
#include "tools/device/posix/VirtualMachine.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> FullTable(uint32_t enabled) {
    std::vector<fmt::FormatRecord> records;
    const std::vector<sim::StandardTiming>& timings = sim::StandardTimings();
    for (size_t i = 0; i < fmt::kMaxRecords; ++i) {
        records.push_back(sim::RecordFromTiming(timings[i % timings.size()].Timing,
                                                i < 64 ? "_vesa_support" : "_autogr_support",
                                                i == 200 ? enabled : 1));
    }
    return fmt::EncodeTableFile(64, records);
}

// Microseconds of each run.
std::vector<double> Time(int runs, const std::function<void(int)>& step) {
    std::vector<double> us;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        step(i);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(us.begin(), us.end());
    return us;
}

void Print(const char* what, const std::vector<double>& us, double against) {
    const double median = us[us.size() / 2];
    std::printf("%-44s median %8.1f us   p90 %8.1f us", what, median, us[us.size() * 9 / 10]);
    if (against > 0)
        std::printf("   %5.1fx the plain copy", median / against);
    std::printf("\n");
}

int Apply(devicetool::IMachine& machine, const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    return devicetool::RunDeviceTool(args, machine, out, err);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    std::random_device random;
    const fs::path folder =
        fs::temp_directory_path() / ("vz-bench-apply-" + std::to_string(random()));
    const std::string system = (folder / "system").string();
    std::string error;
    if (!sim::CreateDefaultSystem(system, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::string a = (folder / "a.bin").string();
    const std::string b = (folder / "b.bin").string();
    Write(a, FullTable(1));
    Write(b, FullTable(0));
    const std::string copy = (folder / "copy.bin").string();

    platform::CVirtualClock clock;
    platform::SetClock(&clock);
    platform::SetDebugSink([](std::string_view) {});
    const std::string device = "Zeriveve HD Capture";
    const auto apply = [&](const std::string& table) {
        devicetool::CVirtualMachine machine;
        if (Apply(machine, {"--system", system, "apply", device, table}) != 0) {
            std::fprintf(stderr, "apply failed\n");
            std::exit(1);
        }
    };

    const std::vector<double> plain =
        Time(runs, [&](int) { fs::copy_file(a, copy, fs::copy_options::overwrite_existing); });
    const std::vector<double> synced = Time(runs, [&](int) {
        fs::copy_file(a, copy, fs::copy_options::overwrite_existing);
        const int fd = ::open(copy.c_str(), O_RDONLY);
        ::fsync(fd);
        ::close(fd);
    });
    apply(a);
    const std::vector<double> unchanged = Time(runs, [&](int) { apply(a); });
    const std::vector<double> changed = Time(runs, [&](int i) { apply(i % 2 == 0 ? b : a); });

    std::printf("full table, %u bytes; %d runs each\n", static_cast<unsigned>(fs::file_size(a)),
                runs);
    Print("plain file copy (cp)", plain, 0);
    Print("file copy + fsync", synced, plain[plain.size() / 2]);
    Print("apply, unchanged (nothing written or asked)", unchanged, plain[plain.size() / 2]);
    Print("apply, changed (written, synced, reloaded)", changed, plain[plain.size() / 2]);
    std::printf("a real run adds Lock's wait of 1000 ms and the process start\n");

    platform::SetClock(nullptr);
    platform::SetSystemRoot("");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
