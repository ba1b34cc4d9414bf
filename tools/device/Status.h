// One reading of a card as `status` reports it, shared by the one-time report and the watch.
#pragma once

#include <string>
#include <vector>

#include "timing/InputSignal.h"
#include "tools/device/Commands.h"

namespace device {
struct DeviceHandle;
}

namespace devicetool {

// The standard timings that agree with a reading, as "From input" finds them.
std::vector<standards::Listed> ReadingMatches(const timing::InputReading& r);
// "locked (status 1)", "no signal (status 0)", "the input status request failed".
std::string StatusText(const timing::InputReading::Status& status);
// "detected 1920x1080, line-length count 3394, 67.50 kHz", with "?" for what was not read.
std::string DetectedText(const timing::InputReading& r);
// The reading's "inputs", "detected", "matches" and "signal" in a document.
void PutReading(Json& doc, const timing::InputReading& r,
                const std::vector<standards::Listed>& matches);
// The report's lines after the device's name: one per input, the detection, the timings.
std::vector<std::string> ReadingLines(const timing::InputReading& r,
                                      const std::vector<standards::Listed>& matches);
// One error for every read that failed.
std::vector<std::string> ReadingErrors(const std::string& name, const timing::InputReading& r);

// `status DEVICE --watch`: the status, then a line for every change, until interrupted (done)
// or the card answers nothing any more (a problem). The device is bound already.
int WatchStatus(Context& c, const std::string& name, const device::DeviceHandle* handle);

// Ctrl-C (SIGINT, SIGTERM; the console's control events on Windows) while a watch runs asks it
// to stop; RequestStop does the same from anywhere, and is safe in a signal handler.
void RequestStop();
bool StopRequested();
// The operating system's side: catches the interrupt while `on`, gives it back after.
void CatchInterrupt(bool on);

}  // namespace devicetool
