// Reading and writing the table file, next to the same file steps done plainly with the C
// library on the same bytes and flushed to disk the same way (the file, then its folder, so the
// rename is durable). The plain steps are the floor: what remains above it is our own cost
// (encoding, tracing, the path mapping).
//
//   bench_format_file [--benchmark_repetitions=N ...]
// Files live in a fresh folder under $TMPDIR (or /tmp); set VZ_BENCH_DIR to measure elsewhere.
#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "format/FormatTable.h"
#include "platform/Platform.h"

namespace {

struct BenchSystem {
    std::string Root;
    std::vector<uint8_t> FullBytes;
    std::vector<uint8_t> EmptyBytes{0, 0};
    fmt::FormatTable Full;
    fmt::FormatTable Empty;
};

BenchSystem& System() {
    static BenchSystem system;
    return system;
}

std::string HostFile(const std::string& name) {
    return System().Root + "/Windows/System32/" + name;
}

bool Prepare() {
    const char* base = std::getenv("VZ_BENCH_DIR");
    std::string pattern =
        (base != nullptr ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) /
        "vz-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        return false;
    BenchSystem& s = System();
    s.Root = pattern;
    std::filesystem::create_directories(s.Root + "/Windows/System32");
    platform::SetSystemRoot(s.Root);
    platform::SetDebugSink([](std::string_view) {});

    std::mt19937 random(2024);
    s.FullBytes.resize(2 + fmt::kMaxRecords * fmt::kRecordSize);
    for (uint8_t& b : s.FullBytes)
        b = static_cast<uint8_t>(random());
    s.FullBytes[0] = 200;
    s.FullBytes[1] = 0;
    for (const auto& [name, bytes] :
         {std::pair{"full.bin", &s.FullBytes}, std::pair{"empty.bin", &s.EmptyBytes}}) {
        if (!platform::ReplaceFileAtomically(HostFile(name), bytes->data(), bytes->size())) {
            return false;
        }
    }
    s.Full.ReadFormatFile("C:\\Windows\\System32\\full.bin");
    s.Full.CopyStagingToTable();
    s.Empty.ReadFormatFile("C:\\Windows\\System32\\empty.bin");
    return s.Full.RecordCount == fmt::kMaxRecords;
}

// --- The floor: the C library alone.

bool PlainWrite(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temp = path + ".tmp";
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok && std::rename(temp.c_str(), path.c_str()) == 0;
}

// The floor with the rename made durable as well, which our write also does: without it a crash
// soon after the write may bring back the old table.
bool PlainWriteSynced(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (!PlainWrite(path, bytes))
        return false;
    const std::string folder = path.substr(0, path.rfind('/'));
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = fsync(fd) == 0;
    return close(fd) == 0 && ok;
}

// Into a fresh buffer, as a reader that keeps the bytes must have.
bool PlainRead(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    const size_t capacity = fmt::kMaxRecords * fmt::kRecordSize + 2;
    auto* buffer = static_cast<uint8_t*>(std::malloc(capacity));
    const size_t got = buffer != nullptr ? std::fread(buffer, 1, capacity, file) : 0;
    benchmark::DoNotOptimize(buffer);
    std::free(buffer);
    return std::fclose(file) == 0 && got > 0;
}

// --- Ours and the floor, measured in pairs.

// Seconds the step took, or a negative number when it failed.
template <typename Step>
double Timed(Step&& step) {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = step();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return ok ? took.count() : -1.0;
}

// Every iteration runs our step and the floor's back to back, taking turns at going first, so
// that whatever else the machine and the disk are doing falls on both alike. The reported time
// is ours; the floor and the ratio of the sums are counters.
template <typename Ours, typename Floor>
void Paired(benchmark::State& state, Ours ours, Floor floor) {
    double oursTotal = 0;
    double floorTotal = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        double o;
        double f;
        if (oursFirst) {
            o = Timed(ours);
            f = Timed(floor);
        } else {
            f = Timed(floor);
            o = Timed(ours);
        }
        if (o < 0 || f < 0) {
            state.SkipWithError("a file step failed");
            break;
        }
        oursTotal += o;
        floorTotal += f;
        oursFirst = !oursFirst;
        state.SetIterationTime(o);
    }
    state.counters["floor"] = benchmark::Counter(floorTotal, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = floorTotal > 0 ? oursTotal / floorTotal : 0;
}

void Write(benchmark::State& state, fmt::FormatTable* table, const std::vector<uint8_t>* bytes,
           bool syncedFloor) {
    const std::string path = HostFile("out.bin");
    Paired(
        state,
        [table] {
            return table->WriteFormatFile("C:\\Windows\\System32", "out.bin", true) == fmt::kOk;
        },
        [&] { return syncedFloor ? PlainWriteSynced(path, *bytes) : PlainWrite(path, *bytes); });
}

void Read(benchmark::State& state, const char* name) {
    const std::string windowsPath = std::string("C:\\Windows\\System32\\") + name;
    const std::string path = HostFile(name);
    fmt::FormatTable table;
    Paired(
        state, [&] { return table.ReadFormatFile(windowsPath) == fmt::kOk; },
        [&] { return PlainRead(path); });
}

// Keeps the ratio of every benchmark (the median when repeated) to print them at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
  public:
    CRatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const auto ratio = run.counters.find("ratio");
            if ((single || median) && ratio != run.counters.end()) {
                m_ratios[run.run_name.function_name] = ratio->second.value;
            }
        }
    }

    void PrintRatio(const char* label, const std::string& name) const {
        const auto ratio = m_ratios.find(name);
        if (ratio != m_ratios.end())
            std::printf("ratio %s: %.2fx\n", label, ratio->second);
    }

  private:
    std::map<std::string, double> m_ratios;
};

}  // namespace

int main(int argc, char** argv) {
    if (!Prepare()) {
        std::fprintf(stderr, "cannot prepare the virtual system\n");
        return 1;
    }
    BenchSystem& s = System();
    // The floor flushes to disk as ours does: the file, then the folder that holds the rename.
    benchmark::RegisterBenchmark("write_full", Write, &s.Full, &s.FullBytes, true)->UseManualTime();
    benchmark::RegisterBenchmark("write_empty", Write, &s.Empty, &s.EmptyBytes, true)
        ->UseManualTime();
    // For information: against a floor that skips the folder sync, what that sync costs.
    benchmark::RegisterBenchmark("write_full_vs_unsynced_folder", Write, &s.Full, &s.FullBytes,
                                 false)
        ->UseManualTime();
    benchmark::RegisterBenchmark("read_full", Read, "full.bin")->UseManualTime();
    benchmark::RegisterBenchmark("read_empty", Read, "empty.bin")->UseManualTime();

    // Five repetitions and their aggregates unless the command line says otherwise.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    const bool chosen = std::any_of(args.begin(), args.end(), [](const char* arg) {
        return std::string_view(arg).starts_with("--benchmark_repetitions");
    });
    if (!chosen) {
        args.push_back(repetitions.data());
        args.push_back(aggregates.data());
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    reporter.PrintRatio("write full", "write_full");
    reporter.PrintRatio("write empty", "write_empty");
    reporter.PrintRatio("write full, floor without the folder sync",
                        "write_full_vs_unsynced_folder");
    reporter.PrintRatio("read full", "read_full");
    reporter.PrintRatio("read empty", "read_empty");

    std::error_code ignored;
    std::filesystem::remove_all(s.Root, ignored);
    return 0;
}
