// "Up", "Down", "Left" and "Right": moving the picture by the step through the DE offsets. The
// buttons act on the mouse release, seen in the message pre-filter before the button gets it.
#include <cstdint>

#include "resources/Resource.h"
#include "timing/InputFormatDlg.h"
#include "timing/TextNumber.h"
#include "timing/Trace.h"

namespace timing {
namespace {

// One button: the pair of offset fields it moves and the way it moves them.
struct Shift {
    int buttonId;
    int startField;
    int endField;
    bool vertical;
    int direction;  // +1 adds the step, -1 takes it away
};

constexpr Shift kShifts[] = {
    {res::IDC_UP, res::IDC_DE_V_START, res::IDC_DE_V_END, true, +1},
    {res::IDC_DOWN, res::IDC_DE_V_START, res::IDC_DE_V_END, true, -1},
    {res::IDC_LEFT, res::IDC_DE_H_START, res::IDC_DE_H_END, false, +1},
    {res::IDC_RIGHT, res::IDC_DE_H_START, res::IDC_DE_H_END, false, -1},
};

// The vertical offsets are 4-bit and the horizontal ones 10-bit two's complement numbers.
constexpr int32_t kVerticalMin = -8;
constexpr int32_t kVerticalMax = 7;
constexpr uint32_t kVerticalBits = 0xF;
constexpr int32_t kHorizontalMin = -512;
constexpr int32_t kHorizontalMax = 511;
constexpr uint32_t kHorizontalBits = 0x3FF;

int32_t SignedOffset(uint16_t raw, bool vertical) {
    if (vertical)
        return (raw & 0x8) != 0 ? static_cast<int32_t>(raw & 0x7) - 8 : raw;
    return (raw & 0x200) != 0 ? static_cast<int32_t>(raw & 0x1FF) - 512 : raw;
}

// The step: decimal, or hexadecimal with a "0x" prefix. The step field admits no negative
// step, so none is taken from a hexadecimal text either: it would move the picture past the
// limit that the checks guard from the other side.
int64_t StepValue(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const bool hex =
        i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X');
    const int64_t step =
        hex ? static_cast<int32_t>(timing::ParseHex(text)) : int64_t{timing::ParseDecimalInt(text)};
    return step < 0 ? 0 : step;
}

}  // namespace

bool CInputFormatDlg::PreTranslateMessage(const ui::Message& message) {
    // Every left-button release checks the step field, wherever it lands.
    if (message.kind == ui::Message::LButtonUp && UpdateData(true)) {
        MoveOutputPosition(message.targetId);
    }
    return ui::CDialog::PreTranslateMessage(message);
}

bool CInputFormatDlg::MoveOutputPosition(int buttonId) {
    const Shift* shift = nullptr;
    for (const Shift& candidate : kShifts) {
        if (candidate.buttonId == buttonId)
            shift = &candidate;
    }
    if (shift == nullptr)
        return false;

    const int64_t step = StepValue(m_stepText);
    const int32_t low = shift->vertical ? kVerticalMin : kHorizontalMin;
    const int32_t high = shift->vertical ? kVerticalMax : kHorizontalMax;
    // How far a field may still move this way; the message names it.
    auto room = [&](int32_t value) { return shift->direction > 0 ? high - value : value - low; };

    const uint16_t startRaw = FieldHex16(shift->startField);
    const int32_t startRoom = room(SignedOffset(startRaw, shift->vertical));
    if (step > startRoom) {
        ui::MessageBox(FormatText(kMsgShiftStartTooLarge, startRoom));
        return false;
    }
    const uint16_t endRaw = FieldHex16(shift->endField);
    const int32_t endRoom = room(SignedOffset(endRaw, shift->vertical));
    if (step > endRoom) {
        ui::MessageBox(FormatText(kMsgShiftEndTooLarge, endRoom));
        return false;
    }

    const uint32_t bits = shift->vertical ? kVerticalBits : kHorizontalBits;
    const int64_t delta = shift->direction * step;
    SetField(shift->startField, FormatText("%X", static_cast<unsigned>((startRaw + delta) & bits)));
    SetField(shift->endField, FormatText("%X", static_cast<unsigned>((endRaw + delta) & bits)));
    UpdateData(false);
    if (shift->vertical) {
        WriteDeVStart();
        WriteDeVEnd();
    } else {
        WriteDeHStart();
        WriteDeHEnd();
    }
    return true;
}

}  // namespace timing
