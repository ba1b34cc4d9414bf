// The record the timing editor's OK stores, built from the texts of the fields it reads, and the
// texts those fields hold for a standard timing once it has been typed, measured and tested.
// No window here: the editor builds its records through these functions, and a program that
// fills the same texts without the editor's window (the device command's "add") gets the very
// record the editor would store.
#pragma once

#include <cstdint>
#include <string>

#include "format/FormatRecord.h"
#include "standards/Timing.h"

namespace timing {

// The fields a record is built from, as text, as the editor's controls hold them. The drop-down
// lists are their shown texts ("" when nothing is chosen).
struct RecordFields {
    std::string HTotal, HActive, VTotal, VActive, FrameRate, VSync;
    std::string HPolarity, VPolarity, Interlace;
    // Hidden fields: the derivation's results, the last measurement, the output position.
    std::string PixelClock, LineLength, LineFreq;
    std::string PllDivRatio, FrLl, LMax;
    std::string DeHStart, DeHEnd, DeVStart, DeVEnd;
    std::string F1VbiStart, F1VbiEnd, F2VbiStart, F2VbiEnd;
};

// The record OK stores, built over `base`: the bytes the editor does not interpret keep what
// base holds.
fmt::FormatRecord BuildRecord(const RecordFields& fields, const fmt::FormatRecord& base);

// The texts the editor writes into its fields, shared by the editor and by whoever fills the
// fields without it.
std::string RegisterText(uint32_t value);  // a derived register: "%03X"
std::string PixelClockText(double mhz);    // "%3.4f"
std::string LineFreqText(int32_t count);   // the measured line frequency in kHz: "%3.2f"
std::string RateText(double hz);           // a rate the standard dialog types: "%.2f"

// What the fields hold for the standard timing t after "Standard..." typed it into a new format,
// Detect measured the line-length count lineLengthCount, and Test derived the registers on a
// card that shows the timing's own size (so the alignment leaves the picture where it is and
// the output position stays 0). False, with the editor's reason, when Test cannot derive the
// frame registers (a whole frame rate of 0 or a vertical total of 0): the editor would store
// zeros for them.
bool FieldsAfterStandardTest(const standards::Timing& t, int32_t lineLengthCount,
                             RecordFields& fields, std::string& why);

}  // namespace timing
