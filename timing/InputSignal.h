// What the card sees at its inputs, read without a window: the input status the driver reports
// for VGA and HDMI, and the reads of the editor's Detect (the FPGA's detected size, the chip's
// line-length count); and the standard timings that agree with such a measurement, as the
// standard timing dialog's "From input" finds them. The signal window, the standard timing
// dialog and the device command all take them from here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "standards/Timing.h"

namespace device {
struct DeviceHandle;
}

namespace timing {

// How closely "From input" matches the measured line frequency, in percent.
extern const double kInputTolerancePercent;

// A measurement as "From input" matches it: the detected size and the line frequency in kHz.
struct Measurement {
    int Width = 0;
    int Height = 0;
    double LineKHz = 0.0;
};

// The line frequency of a line-length count as the editor keeps it: the text of its hidden
// field ("%3.2f" kHz) read back, so that what is matched is what the editor would match.
double MeasuredLineKHz(int32_t count);

// Both lists' entries that agree with the measurement, closest line frequency first; none
// without a line frequency.
std::vector<standards::Listed> MatchFromInput(const Measurement& measured);

// "No DMT or CTA-861 timing agrees with 1234x567 at 12.34 kHz.": why there is no match.
std::string NoMatchText(const Measurement& measured);

// The texts of a match as the lists show it: entry, timing, aspect, line frequency with its
// offset from the measurement, pixel clock.
std::vector<std::string> MatchTexts(const standards::Listed& match);

// One round of reads, in the order the card is asked: the input status of VGA, then of HDMI,
// then Detect's three reads. A failed read is said as such, never taken for a 0.
struct InputReading {
    struct Status {
        bool Read = false;
        uint32_t Value = 0;  // 0: no signal
    };
    Status Vga;
    Status Hdmi;
    bool HasWidth = false;
    bool HasHeight = false;
    bool HasCount = false;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Count = 0;

    bool MeasurementComplete() const { return HasWidth && HasHeight && HasCount; }
    bool SomeInputLocked() const {
        return (Vga.Read && Vga.Value != 0) || (Hdmi.Read && Hdmi.Value != 0);
    }
    // Not one request was answered: the card is gone, or its driver answers nothing.
    bool NothingAnswered() const {
        return !Vga.Read && !Hdmi.Read && !HasWidth && !HasHeight && !HasCount;
    }
    Measurement AsMeasurement() const;
    bool operator==(const InputReading& other) const;
};

// Only Detect's three reads, with no status request before them.
InputReading ReadDetection(const device::DeviceHandle* handle);
// The whole round: both status requests, then Detect's reads.
InputReading ReadInputs(const device::DeviceHandle* handle);

}  // namespace timing
