// Start of the desktop program to its first painted main window on the offscreen screen (the
// moment the child tells), and its peak resident memory, median of 10 runs each, beside a minimal
// Qt Widgets program that shows one dialog, in the same run. Usage: bench_qt_startup [runs]
// [--cold]. Warm: the files of both already in the page cache. With --cold also a cold start,
// the page cache dropped before every run (root only: /proc/sys/vm/drop_caches).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/qt/PaintReport.h"

namespace {

struct Run {
    double ms = 0;     // from before the fork to the moment the child's first paint was done
    double cpuMs = 0;  // user and system time of the whole process
    long rssKb = 0;
};

// Runs the program, which tells the moment its first window was painted on a pipe named in its
// environment; the rest of its life (its teardown) is left out of the time.
bool Launch(const std::vector<std::string>& command, Run& run) {
    std::vector<char*> argv;
    for (const std::string& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        return false;
    }
    const long long start = bench::MonotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = dup(pipeFds[1]);  // without close-on-exec
        setenv(bench::kFirstPaintFd, std::to_string(fd).c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    std::string report;
    char buffer[64];
    for (ssize_t got; pid > 0 && (got = read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        report.append(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0)));
    }
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) {
        return false;
    }
    const long long painted = std::atoll(report.c_str());
    if (painted <= start) {
        std::fprintf(stderr, "%s did not tell its first paint\n", command.front().c_str());
        return false;
    }
    run.ms = static_cast<double>(painted - start) / 1e6;
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

// Drops the kernel's page cache, so that the next start reads every file from the disk.
bool DropPageCache() {
    sync();
    const int fd = open("/proc/sys/vm/drop_caches", O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool done = write(fd, "3\n", 2) == 2;
    close(fd);
    return done;
}

// Both programs `runs` times, taking turns, so that a load from elsewhere on the machine falls
// on both alike rather than on one of them; prints the medians and their ratios.
bool Measure(const char* title, int runs, bool cold, const std::vector<std::string>& minimal,
             const std::vector<std::string>& program) {
    Series minimalRuns, programRuns;
    for (int i = 0; i < runs; ++i) {
        for (const auto* command : {&minimal, &program}) {
            if (cold && !DropPageCache()) {
                std::printf("%s: not measured (the page cache cannot be dropped here)\n", title);
                return true;
            }
            Run run;
            if (!Launch(*command, run)) {
                std::fprintf(stderr, "%s failed\n", command->front().c_str());
                return false;
            }
            (command == &minimal ? minimalRuns : programRuns).Add(run);
        }
    }
    const double minimalMs = Median(minimalRuns.ms), programMs = Median(programRuns.ms);
    const double minimalCpu = Median(minimalRuns.cpuMs), programCpu = Median(programRuns.cpuMs);
    const long minimalKb = Median(minimalRuns.rssKb), programKb = Median(programRuns.rssKb);
    std::printf("%s, start to first paint, median of %d (offscreen), runs taking turns:\n", title,
                runs);
    std::printf("  minimal Qt dialog  %8.1f ms  %7ld kB peak RSS  (cpu %.1f ms)\n", minimalMs,
                minimalKb, minimalCpu);
    std::printf("  vuvereze           %8.1f ms  %7ld kB peak RSS  (cpu %.1f ms)\n", programMs,
                programKb, programCpu);
    std::printf("  ratio              %8.2fx     %7.2fx            (cpu %.2fx)\n",
                programMs / minimalMs, static_cast<double>(programKb) / minimalKb,
                programCpu / minimalCpu);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    bool cold = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--cold") {
            cold = true;
        } else {
            runs = std::max(1, std::atoi(argv[i]));
        }
    }
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
    const bool ok = Measure("warm", runs, false, minimal, program) &&
                    (!cold || Measure("cold", runs, true, minimal, program));
    std::error_code ignored;
    std::filesystem::remove_all(system, ignored);
    std::printf(
        "  (targets: at most 1.1x the time and 1.2x the memory; cpu is the whole process,"
        " exit included)\n");
    return ok ? 0 : 1;
}
