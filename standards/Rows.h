// One published row of a list, as the tables are written down.
#pragma once

#include "standards/Timing.h"

namespace standards {

// Pixel clock in kHz, then per direction the active size, front porch (borders included),
// sync width and total; polarities as 'P' or 'N'. Interlaced rows give vertical values in the
// editor's terms, summed over both fields.
struct Row {
    int Code;
    double ClockKHz;
    int HActive, HFrontPorch, HSync, HTotal;
    int VActive, VFrontPorch, VSync, VTotal;
    char HPolarity, VPolarity;
    bool Interlaced = false;
};

inline Timing FromRow(const Row& row) {
    Timing t;
    t.HActive = row.HActive;
    t.HFrontPorch = row.HFrontPorch;
    t.HSync = row.HSync;
    t.HTotal = row.HTotal;
    t.VActive = row.VActive;
    t.VFrontPorch = row.VFrontPorch;
    t.VSync = row.VSync;
    t.VTotal = row.VTotal;
    t.HSyncPositive = row.HPolarity == 'P';
    t.VSyncPositive = row.VPolarity == 'P';
    t.Interlaced = row.Interlaced;
    t.PixelClockKHz = row.ClockKHz;
    return t;
}

}  // namespace standards
