// Cold start of the desktop program to its first painted main window on the offscreen screen,
// and its peak resident memory, median of 10 runs each, beside a minimal Qt Widgets program that
// shows one dialog, in the same run. Usage: bench_qt_startup [runs]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Run {
    double ms = 0;
    double cpuMs = 0;  // user and system time of the process
    long rssKb = 0;
};

bool Launch(const std::vector<std::string>& command, Run& run) {
    std::vector<char*> argv;
    for (const std::string& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) {
        return false;
    }
    run.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.rssKb = usage.ru_maxrss;
    run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The figures of one program over its runs.
struct Series {
    std::vector<double> ms;
    std::vector<double> cpuMs;
    std::vector<long> rssKb;
    void Add(const Run& run) {
        ms.push_back(run.ms);
        cpuMs.push_back(run.cpuMs);
        rssKb.push_back(run.rssKb);
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path here = std::filesystem::path(argv[0]).parent_path();
    const std::filesystem::path system =
        std::filesystem::temp_directory_path() / ("vuvereze-bench-" + std::to_string(getpid()));
    const std::vector<std::string> minimal{(here / "minimal_dialog").string()};
    const std::vector<std::string> program{(here / "vuvereze_first_paint").string(),
                                           system.string()};
    // One start first, so that the virtual system exists and the files are in the page cache for
    // both programs alike.
    Run warm;
    Launch(program, warm);
    Launch(minimal, warm);
    // The two programs take turns, so that a load from elsewhere on the machine falls on both
    // alike rather than on one of them.
    Series minimalRuns, programRuns;
    bool ok = true;
    for (int i = 0; i < runs && ok; ++i) {
        for (const auto* command : {&minimal, &program}) {
            Run run;
            if (!Launch(*command, run)) {
                std::fprintf(stderr, "%s failed\n", command->front().c_str());
                ok = false;
                break;
            }
            (command == &minimal ? minimalRuns : programRuns).Add(run);
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(system, ignored);
    if (!ok) {
        return 1;
    }
    const double minimalMs = Median(minimalRuns.ms), programMs = Median(programRuns.ms);
    const double minimalCpu = Median(minimalRuns.cpuMs), programCpu = Median(programRuns.cpuMs);
    const long minimalKb = Median(minimalRuns.rssKb), programKb = Median(programRuns.rssKb);
    std::printf("start to first paint, median of %d (offscreen), runs taking turns:\n", runs);
    std::printf("  minimal Qt dialog  %8.1f ms  %7ld kB peak RSS  (cpu %.1f ms)\n", minimalMs,
                minimalKb, minimalCpu);
    std::printf("  vuvereze           %8.1f ms  %7ld kB peak RSS  (cpu %.1f ms)\n", programMs,
                programKb, programCpu);
    std::printf("  ratio              %8.2fx     %7.2fx            (cpu %.2fx)\n",
                programMs / minimalMs, static_cast<double>(programKb) / minimalKb,
                programCpu / minimalCpu);
    std::printf("  (targets: at most 1.1x the time and 1.2x the memory)\n");
    return 0;
}
