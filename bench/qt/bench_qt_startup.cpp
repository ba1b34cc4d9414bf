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
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Measure(const std::vector<std::string>& command, int runs, double& ms, long& rssKb) {
    std::vector<double> times;
    std::vector<long> rss;
    for (int i = 0; i < runs; ++i) {
        Run run;
        if (!Launch(command, run)) {
            std::fprintf(stderr, "%s failed\n", command[0].c_str());
            return false;
        }
        times.push_back(run.ms);
        rss.push_back(run.rssKb);
    }
    ms = Median(times);
    rssKb = Median(rss);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path here = std::filesystem::path(argv[0]).parent_path();
    const std::filesystem::path system =
        std::filesystem::temp_directory_path() / ("vuvereze-bench-" + std::to_string(getpid()));
    double minimalMs = 0, programMs = 0;
    long minimalKb = 0, programKb = 0;
    // One start first, so that the virtual system exists and the files are in the page cache for
    // both programs alike.
    Run warm;
    Launch({(here / "vuvereze_first_paint").string(), system.string()}, warm);
    Launch({(here / "minimal_dialog").string()}, warm);
    const bool ok = Measure({(here / "minimal_dialog").string()}, runs, minimalMs, minimalKb) &&
                    Measure({(here / "vuvereze_first_paint").string(), system.string()}, runs,
                            programMs, programKb);
    std::error_code ignored;
    std::filesystem::remove_all(system, ignored);
    if (!ok) {
        return 1;
    }
    std::printf("start to first paint, median of %d (offscreen):\n", runs);
    std::printf("  minimal Qt dialog  %8.1f ms  %7ld kB peak RSS\n", minimalMs, minimalKb);
    std::printf("  vuvereze           %8.1f ms  %7ld kB peak RSS\n", programMs, programKb);
    std::printf("  ratio              %8.2fx     %7.2fx  (targets: at most 1.1x and 1.2x)\n",
                programMs / minimalMs, static_cast<double>(programKb) / minimalKb);
    return 0;
}
