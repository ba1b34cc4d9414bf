// vuvereze-scenarios FILE...: runs scenario files on the headless host, one story each.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/scenarios/Runner.h"
#include "tools/scenarios/Script.h"

int main(int argc, char** argv) {
    bool keep = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--keep") {
            keep = true;
        } else if (arg == "--help" || arg == "-h") {
            std::printf("usage: vuvereze-scenarios [--keep] FILE...\n");
            return 0;
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: vuvereze-scenarios [--keep] FILE...\n");
        return 2;
    }
    int passed = 0, failed = 0;
    for (const std::string& file : files) {
        scenarios::Script script;
        std::string error;
        scenarios::Outcome outcome;
        if (!scenarios::LoadScript(file, script, error)) {
            outcome.failures.push_back(error);
        } else {
            outcome = scenarios::RunScenario(script, keep);
        }
        if (outcome.failures.empty()) {
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
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
