// vuvereze-device: the capture devices and the format table from a command line, one command
// per machine, safe to run again, for people who look after many capture machines and for the
// fleet engines that call it. It binds a device as the main window's Lock does, reads what the
// card sees, edits table files, and puts a table in place of the driver's "format.bin" as Apply
// does, saying whether anything changed.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "device/DeviceBackend.h"

namespace devicetool {

// Exit codes: done (also when nothing needed changing), a problem found or a request refused,
// a command line the tool does not understand or an input it cannot read.
constexpr int kDone = 0;
constexpr int kProblem = 1;
constexpr int kUsage = 2;

// The machine whose capture devices the device commands reach: on Linux a virtual system kept
// in a folder, with its simulated cards; on Windows the system itself, through DirectShow.
class IMachine {
  public:
    virtual ~IMachine() = default;
    // systemFolder is what --system gave, empty without it. Null, with the reason, when there
    // is no machine to work on. Called at most once per run.
    virtual device::IDeviceBackend* Open(const std::string& systemFolder, std::string& error) = 0;
    // The machine's calendar clock, in milliseconds since 1970 (UTC): the time stamps of a
    // watch. Waits go through the platform clock.
    virtual int64_t WallClockMs();
    // What to do about a write the system refused for want of rights, said after the refusal;
    // empty where there is nothing to advise.
    virtual std::string DeniedWriteHint() const { return {}; }
};

// args are the words after the program's name, as UTF-8. Results go to out, errors to err.
// A failed write of out is a problem too: a caller must not take a report it never got for a
// success.
int RunDeviceTool(const std::vector<std::string>& args, IMachine& machine, std::ostream& out,
                  std::ostream& err);

}  // namespace devicetool
