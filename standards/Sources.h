// Timings from where users already have them: an X11 modeline (as cvt, gtf and xrandr print it)
// and the EDID of a display (the binary blocks, or the hex dump edid-decode and xrandr print).
// Both give timings in the editor's terms, as the standards do (Timing.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "standards/Timing.h"

namespace standards {

// A modeline read: its timing, or the sentence that says what is wrong with the text. Note
// tells what was assumed (a sync polarity the text does not give).
struct ModelineReading {
    bool Ok = false;
    Timing Value;
    std::string Name;  // the mode's name, without its quotes; empty when the text has none
    std::string Why;
    std::string Note;
};

// `Modeline "1920x1080_60.00"  173.00  1920 2048 2248 2576  1080 1083 1088 1120 -hsync +vsync`,
// with or without the word and the name. The clock is in MHz; the vertical values are per frame
// also for an interlaced mode, whose odd total holds the two fields' half lines, counted here
// as one more line of front porch. Flags: +hsync, -hsync, +vsync, -vsync, Interlace; DoubleScan,
// composite sync and line repetition are refused, since a format cannot hold them.
ModelineReading ReadModeline(const std::string& text);

// The modeline of t under name, laid out as cvt prints one. The clock has the fewest decimals,
// two at least, that give back the rate t shows to two decimals. Empty when t cannot be a
// modeline (no sync inside its blanking, a porch below 0).
std::string WriteModeline(const Timing& t, const std::string& name);
// The name cvt gives a mode: "1920x1080_60.00", "1920x1080i_60.00".
std::string ModeName(const Timing& t);

// One timing an EDID describes.
struct EdidRow {
    std::string Label;  // "DTD 1", "CTA DTD 2", "VIC 16", "STD 3: DMT 0x52", "EST: DMT 0x04"
    Timing Value;
    std::string Aspect;  // the picture aspect of a VIC
    std::string Note;    // what was assumed (the polarities of composite sync)
};

struct EdidReading {
    bool Ok = false;
    std::string Why;  // why nothing is listed: too short, not an EDID, a bad checksum
    int Blocks = 0;
    std::vector<EdidRow> Rows;
    // Timings the EDID names that are not offered, each with the reason ("DTD 3: its sync
    // runs past its blanking").
    std::vector<std::string> LeftOut;
};

// The blocks of an EDID file: its bytes as they are, or the hex digits of a dump (the first
// run of lines of hex digits and blanks, as edid-decode and xrandr --verbose print one).
// False, with the reason, when the file holds neither.
bool EdidBytes(const std::vector<uint8_t>& file, std::vector<uint8_t>& edid, std::string& why);

// What the EDID describes: the detailed timing descriptors of the base block and of the
// CTA-861 extension blocks, the CTA-861 video formats (VICs), and the standard and
// established timings through the DMT list (a standard timing without a DMT code through CVT
// when an EDID 1.4 display's range limits say it takes CVT, else through GTF). A block that is
// short, has a bad checksum or a layout that runs past its end is said in Why and nothing is
// listed.
EdidReading ReadEdid(const std::vector<uint8_t>& edid);

// An EDID file read whole: EdidBytes, then ReadEdid.
EdidReading ReadEdidFile(const std::vector<uint8_t>& file);

}  // namespace standards
