// The description of a simulated Windows machine: its native architecture, its ANSI code page
// and its capture devices in enumeration order, each with the signals at its two inputs and its
// faults. Kept as JSON in the machine's folder (see sim/README.md).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/VideoTiming.h"

namespace sim {

struct InputDescription {
    std::optional<VideoTiming> Signal;  // none: no signal
    std::string Standard;  // the catalogue name when Signal is a standard timing, else empty
    bool operator==(const InputDescription&) const = default;
};

InputDescription NoSignal();
// A catalogue timing by name ("1920x1080p60"); false when the catalogue lacks it.
bool StandardSignal(std::string_view name, InputDescription& input);
InputDescription TimingSignal(const VideoTiming& timing);

struct DeviceDescription {
    std::string FriendlyName;  // UTF-8
    InputDescription Vga;
    InputDescription Hdmi;
    std::vector<std::string> Faults;  // fault names, see sim/Faults.h
    bool operator==(const DeviceDescription&) const = default;
};

struct SystemDescription {
    std::string Architecture = "amd64";  // "amd64", "x86", "arm64", "ia64" or "arm"
    std::string CodePage = "utf-8";      // "utf-8", "windows-1252" or "big5"
    std::vector<DeviceDescription> Devices;
    bool operator==(const SystemDescription&) const = default;
};

bool ParseArchitecture(std::string_view name, uint16_t& architecture);

// Checks everything a description names: architecture, code page, timings, faults.
bool ValidateSystemDescription(const SystemDescription& description, std::string& error);

// false with a message naming the offending entry ("devices[1].inputs.hdmi: ...").
bool ParseSystemDescription(std::string_view json, SystemDescription& description,
                            std::string& error);
std::string FormatSystemDescription(const SystemDescription& description);

}  // namespace sim
