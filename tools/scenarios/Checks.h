// The lines of a scenario after its set-up: user input and expectations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/scenarios/Script.h"
#include "ui/Dialog.h"

namespace scenarios {

class CWorld;
class IScenarioHost;

// What the lines see of the running scenario.
class IScenarioContext {
  public:
    virtual ~IScenarioContext() = default;
    virtual void Fail(const Line& line, const std::string& what) = 0;
    // The machine the runner runs on cannot set the scenario up (a named pipe on Windows): the
    // story is skipped, never passed.
    virtual void Skip(const Line& line, const std::string& why) = 0;
    virtual void Counted() = 0;
    virtual IScenarioHost& Host() = 0;
    virtual CWorld& World() = 0;
    virtual bool Ended() const = 0;
    virtual int ExitCode() const = 0;
    virtual uint64_t ElapsedMs() const = 0;
    virtual const std::string& DebugOutput() const = 0;
    virtual const std::vector<size_t>& DebugWriteEnds() const = 0;
    virtual size_t& MessageCursor() = 0;
    virtual size_t& LogCursor() = 0;
    virtual size_t& TraceCursor() = 0;  // an offset into the debug output
    // A fixture beside the scenario file, and a file the program reads or writes, on the host.
    virtual std::string HostFile(const std::string& path) const = 0;
    virtual std::string FilePath(const std::string& path) const = 0;
    // The bytes a file had at start; nullptr when it did not exist.
    virtual const std::vector<uint8_t>* Snapshot(const std::string& hostPath) const = 0;
};

// The set-up lines: machine, codepage, device, file, table, com-fails and the fault lines.
bool IsSetupVerb(const std::string& verb);
// The set-up lines that may also stand after start, for another program writing a file at that
// moment of the story: file, table.
bool IsStoryWriteVerb(const std::string& verb);
// The set-up lines that arrange a fault: read-only, missing, pipe, link, write-fails, chip.
bool IsFaultSetupVerb(const std::string& verb);
// A set-up line (machine, codepage, device, file, table, com-fails, or a fault line).
bool ApplySetup(IScenarioContext& context, const Line& line, CWorld& world, bool& comFails,
                std::string& error);
// An input line; false (with a failure recorded) when it is not one the runner knows.
bool MakeInput(IScenarioContext& context, const Line& line, ui::Input& input);
// The lines after start that change the machine while the program runs: signal, unplug.
bool IsLiveVerb(const std::string& verb);
void PlayLive(IScenarioContext& context, const Line& line);
// An `expect` line.
void CheckExpectation(IScenarioContext& context, const Line& line);

}  // namespace scenarios
