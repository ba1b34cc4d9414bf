// The scenario script reader over arbitrary text: it reads or refuses, never crashes, and what
// it reads has a verb on every line and line numbers that only grow.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "tools/scenarios/Script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    scenarios::Script script;
    std::string error;
    if (scenarios::ParseScript(text, script, error)) {
        int last = 0;
        for (const scenarios::Line& line : script.lines) {
            FUZZ_CHECK(line.Size() > 0);
            FUZZ_CHECK(line.number > last);
            last = line.number;
            int64_t value = 0;
            scenarios::ParseNumber(line.Verb(), value);
        }
    } else {
        FUZZ_CHECK(!error.empty());
    }
    int64_t value = 0;
    scenarios::ParseNumber(text, value);
    return 0;
}
