// What every command of vuvereze-device shares: the options of the command line, the report a
// command fills (its JSON document, its text lines and its errors), and the commands.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

#include "tools/device/DeviceTool.h"

namespace devicetool {

using Json = nlohmann::ordered_json;

struct Options {
    bool Json = false;
    bool DryRun = false;        // edits: say what would change, write nothing
    bool NewOnly = false;       // import, add: leave out formats the table already holds
    bool AlwaysReload = false;  // apply: ask for the reload even when nothing changed
    std::string System;         // --system FOLDER, empty without it
    std::string Device;         // add --device DEVICE: measure on that card
    std::string LineLength;     // add --line-length N: a count measured elsewhere
    bool HasLineLength = false;
    bool Watch = false;          // status --watch: a line for every change, until interrupted
    uint32_t IntervalMs = 1000;  // status --watch --interval SECONDS
    bool HasInterval = false;
    std::vector<std::string> Words;  // the command and its operands
};

// One command's report. Text lines go to standard output unless --json asked for the document;
// errors go to standard error either way, and into the document.
class CReport {
  public:
    explicit CReport(const std::string& command);
    Json& Doc() { return m_doc; }
    void Line(const std::string& text) { m_lines.push_back(text); }
    void Error(const std::string& text) { m_errors.push_back(text); }
    bool HasErrors() const { return !m_errors.empty(); }
    // The command wrote its report as it went (a watch): Finish prints nothing more.
    void Streamed() { m_streamed = true; }
    // Prints the report and gives the exit code; a failed write of out turns done into a
    // problem.
    int Finish(int code, bool json, std::ostream& out, std::ostream& err);

  private:
    Json m_doc;
    std::vector<std::string> m_lines;
    std::vector<std::string> m_errors;
    bool m_streamed = false;
};

struct Context {
    const Options& Opts;
    IMachine& Machine;
    CReport& Report;
    std::ostream& Out;  // for a command that reports as it goes
    std::ostream& Err;
    device::IDeviceBackend* Devices = nullptr;  // once opened
};

// The machine's devices, opened on first use; null with the reason reported and code kUsage
// when there is no machine to open.
device::IDeviceBackend* OpenMachine(Context& c, int& code);

// Why the last table write failed, as the system said it, to follow a refusal's own words:
// ": Access is denied. (error 5)", with the machine's advice where the system refused it for
// want of rights. Empty when nothing is known.
std::string WriteFailure(const Context& c);

int ListDevices(Context& c);
int ShowStatus(Context& c, const std::string& device);
int ApplyTable(Context& c, const std::string& device, const std::string& table);
// enable, disable, delete, import, add: words[0] is the command, words[1] the table file.
int EditTable(Context& c, const std::vector<std::string>& words);

}  // namespace devicetool
