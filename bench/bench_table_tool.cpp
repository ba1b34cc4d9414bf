// The table tool on a full table (256 records of standard timings, 31746 bytes): each command
// from reading the file to the last line of output, the output going to memory.
//
//   bench_table_tool [--benchmark_repetitions=N ...]
// The files live in a fresh folder under the system's temporary directory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "format/FormatTable.h"
#include "sim/VideoTiming.h"
#include "sim/VirtualSystem.h"
#include "tools/table/TableTool.h"

namespace {

struct Files {
    std::filesystem::path Folder;
    std::string Full;
    std::string Changed;
};

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

const Files& TheFiles() {
    static const Files files = [] {
        Files f;
        std::random_device random;
        f.Folder =
            std::filesystem::temp_directory_path() / ("vz-bench-table-" + std::to_string(random()));
        std::filesystem::create_directories(f.Folder);
        std::vector<fmt::FormatRecord> records;
        const std::vector<sim::StandardTiming>& timings = sim::StandardTimings();
        for (size_t i = 0; i < fmt::kMaxRecords; ++i) {
            records.push_back(sim::RecordFromTiming(timings[i % timings.size()].Timing,
                                                    i < 64 ? "_vesa_support" : "_autogr_support",
                                                    1));
        }
        f.Full = (f.Folder / "full.bin").string();
        Write(f.Full, fmt::EncodeTableFile(64, records));
        // Every tenth record changed in two fields: a diff with something to say.
        for (size_t i = 0; i < records.size(); i += 10) {
            records[i].Enabled = 0;
            records[i].Registers.DE_H_START = 0x3F6;
        }
        f.Changed = (f.Folder / "changed.bin").string();
        Write(f.Changed, fmt::EncodeTableFile(64, records));
        return f;
    }();
    return files;
}

void Run(benchmark::State& state, const std::vector<std::string>& args) {
    size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        benchmark::DoNotOptimize(tabletool::RunTableTool(args, out, err));
        bytes = out.str().size();
    }
    state.counters["output_bytes"] = static_cast<double>(bytes);
}

void BM_Check(benchmark::State& state) {
    Run(state, {"check", TheFiles().Full});
}
void BM_ShowText(benchmark::State& state) {
    Run(state, {"show", TheFiles().Full});
}
void BM_ShowJson(benchmark::State& state) {
    Run(state, {"show", "--json", TheFiles().Full});
}
void BM_Diff(benchmark::State& state) {
    Run(state, {"diff", TheFiles().Full, TheFiles().Changed});
}

BENCHMARK(BM_Check)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowJson)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Diff)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(TheFiles().Folder, ignored);
    return 0;
}
