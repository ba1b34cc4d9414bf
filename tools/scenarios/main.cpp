// vuvereze-scenarios [--host NAME] [--keep] FILE...: runs scenario files, one story each, on the
// headless host or on a host with real windows.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/scenarios/Runner.h"
#include "tools/scenarios/ScenarioHost.h"
#include "tools/scenarios/Script.h"

namespace {

// What a run of only skipped scenarios returns, so that a test harness counts it as skipped.
constexpr int kAllSkipped = 77;

int Usage(FILE* to) {
    std::string hosts;
    for (const std::string& name : scenarios::ScenarioHostNames()) {
        hosts += (hosts.empty() ? "" : "|") + name;
    }
    std::fprintf(to, "usage: vuvereze-scenarios [--host %s] [--keep] FILE...\n", hosts.c_str());
    return to == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool keep = false;
    std::string host = "headless";
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--keep") {
            keep = true;
        } else if (arg == "--host" && i + 1 < argc) {
            host = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            return Usage(stdout);
        } else {
            // Taken whole now: a file dialog of a real host may move the current folder.
            std::error_code ignored;
            const std::filesystem::path absolute = std::filesystem::absolute(arg, ignored);
            files.push_back(absolute.empty() ? arg : absolute.string());
        }
    }
    if (files.empty() || !scenarios::MakeScenarioHost(host)) {
        return Usage(stderr);
    }
    int passed = 0, failed = 0, skipped = 0;
    for (const std::string& file : files) {
        scenarios::Script script;
        std::string error;
        scenarios::Outcome outcome;
        if (!scenarios::LoadScript(file, script, error)) {
            outcome.failures.push_back(error);
        } else {
            outcome = scenarios::RunScenario(script, host, keep);
        }
        if (outcome.skipped) {
            ++skipped;
            std::printf("SKIP %s\n  %s\n", file.c_str(), outcome.skipReason.c_str());
        } else if (outcome.failures.empty()) {
            ++passed;
            std::printf("PASS %s (%d expectations)\n", file.c_str(), outcome.expectations);
        } else {
            ++failed;
            std::printf("FAIL %s\n", file.c_str());
            for (const std::string& failure : outcome.failures)
                std::printf("  %s\n", failure.c_str());
        }
        if (!outcome.scratch.empty())
            std::printf("  scratch kept in %s\n", outcome.scratch.c_str());
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
    if (failed != 0)
        return 1;
    return passed == 0 && skipped != 0 ? kAllSkipped : 0;
}
