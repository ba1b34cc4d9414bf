// Between the editor's fields and a FormatRecord: filling the fields from a user format, and
// building a record from them for OK and for the live test.
#include <cstring>

#include "app/TextNumber.h"
#include "app/VuverezeDlg.h"
#include "resources/Resource.h"
#include "timing/InputFormatDlg.h"
#include "timing/Trace.h"

namespace timing {
namespace {

constexpr char kAutoTag[] = "_autogr_support";  // with its terminator: bytes 0-15 of the tag
constexpr uint32_t kTimingWord64 = 12;
constexpr uint32_t kRegisterWord12 = 2;

// A drop-down list's text as a flag: 1 for its second item only. The first item and a list with
// no selection both give 0.
uint8_t FlagOf(const std::string& text, const char* oneText) {
    return text == oneText ? 1 : 0;
}

// The user format k exists in the table: its record lies among the user formats and inside the
// table's 256 entries.
bool IsUserFormat(const fmt::FormatTable& table, int k) {
    return k >= 0 && k < table.UserCount &&
           table.BuiltinCount + k < static_cast<int>(fmt::kMaxRecords);
}

}  // namespace

void CInputFormatDlg::FillFieldsFromRecord(int k) {
    const fmt::FormatTable& table = Table();
    if (!IsUserFormat(table, k))
        return;
    const int r = table.BuiltinCount + k;
    const fmt::TimingBlock& t = table.TimingBlocks[r];
    const fmt::RegisterBlock& g = table.RegisterBlocks[r];

    SetField(res::IDC_H_TOTAL, FormatText("%d", t.HTotal));
    SetField(res::IDC_H_ACTIVE, FormatText("%d", t.HActive));
    SetField(res::IDC_V_TOTAL, FormatText("%d", t.VTotal));
    SetField(res::IDC_V_ACTIVE, FormatText("%d", t.VActive));
    SetField(res::IDC_FRAME_RATE, FormatText("%0.2f", t.FrameRate / 100.0));
    m_hPolarityList.SetCurSel(t.HPolarity);
    m_vPolarityList.SetCurSel(t.VPolarity);
    m_interlaceList.SetCurSel(t.Interlace);
    // The horizontal porch and sync are not kept in a record, so they cannot be shown again.
    for (int id : {res::IDC_H_SYNC, res::IDC_H_FRONT_PORCH}) {
        GetDlgItem(id).EnableWindow(false);
        SetField(id, "N/A");
    }
    SetField(res::IDC_V_SYNC, FormatText("%d", t.VSyncRange1.Nominal));
    SetField(res::IDC_V_FRONT_PORCH,
             FormatText("%d", static_cast<uint16_t>(t.VTotal - g.F1_VBI_START + 1)));
    SetField(res::IDC_DE_H_START, FormatText("%X", g.DE_H_START));
    SetField(res::IDC_DE_H_END, FormatText("%X", g.DE_H_END));
    SetField(res::IDC_DE_V_START, FormatText("%X", g.DE_V_START));
    SetField(res::IDC_DE_V_END, FormatText("%X", g.DE_V_END));
    SetField(res::IDC_PIXEL_CLOCK, FormatText("%d", t.PixelClockMHz));
    SetField(res::IDC_PLL_DIV_RATIO, FormatText("%X", g.PLLDivRatio));
    SetField(res::IDC_FR_LL, FormatText("%X", g.FR_LL));
    SetField(res::IDC_L_MAX, FormatText("%X", g.L_MAX));
    SetField(res::IDC_F1_VBI_START, FormatText("%X", g.F1_VBI_START));
    SetField(res::IDC_F1_VBI_END, FormatText("%X", g.F1_VBI_END));
    SetField(res::IDC_F2_VBI_START, FormatText("%X", g.F2_VBI_START));
    SetField(res::IDC_F2_VBI_END, FormatText("%X", g.F2_VBI_END));
}

fmt::FormatRecord CInputFormatDlg::BuildRecordFromFields(const fmt::FormatRecord& base) const {
    fmt::FormatRecord record = base;
    // The first 16 tag bytes are the program's mark; the rest of the tag is not ours to change.
    std::memcpy(record.TagBytes.data(), kAutoTag, sizeof kAutoTag);
    record.Enabled = 1;

    fmt::TimingBlock& t = record.Timing;
    t.PixelClockMHz = static_cast<uint16_t>(FieldInt(res::IDC_PIXEL_CLOCK));
    t.LineFreq = static_cast<uint16_t>(app::Hundredths(FieldText(res::IDC_LINE_FREQ)));
    t.FrameRate = static_cast<uint16_t>(app::Hundredths(FieldText(res::IDC_FRAME_RATE)));
    t.HPolarity = FlagOf(FieldText(res::IDC_H_POLARITY), "Positive");
    t.VPolarity = FlagOf(FieldText(res::IDC_V_POLARITY), "Positive");
    const uint8_t interlace = FlagOf(FieldText(res::IDC_INTERLACE), "Yes");
    t.Interlace = interlace;
    t.Byte9 = 0;
    t.Byte10 = 0;
    t.HActive = static_cast<uint16_t>(FieldInt(res::IDC_H_ACTIVE));
    t.VActive = static_cast<uint16_t>(FieldInt(res::IDC_V_ACTIVE));
    t.HTotal = static_cast<uint16_t>(FieldInt(res::IDC_H_TOTAL));
    const int32_t vTotal = FieldInt(res::IDC_V_TOTAL);
    t.VTotal = static_cast<uint16_t>(vTotal);
    t.LineLengthRange = fmt::LineLengthRange(FieldInt(res::IDC_LINE_LENGTH));
    const int32_t vSync = FieldInt(res::IDC_V_SYNC);
    t.VSyncRange1 = fmt::VSyncRange(vSync);
    t.VSyncRange2 = fmt::VSyncRange(vSync);
    t.VSyncRange3 = fmt::VSyncRange(vSync);
    t.VTotalRange1 = fmt::VTotalRange(vTotal);
    t.VTotalRange2 = fmt::VTotalRange(vTotal);
    t.Word64 = kTimingWord64;

    fmt::RegisterBlock& g = record.Registers;
    g.PLLDivRatio = FieldHex16(res::IDC_PLL_DIV_RATIO);
    g.Interlace = interlace;
    g.FR_LL = FieldHex16(res::IDC_FR_LL);
    g.Word6 = 0;
    g.L_MAX = FieldHex16(res::IDC_L_MAX);
    g.Word10 = 0;
    g.Word12 = kRegisterWord12;
    g.DE_H_START = FieldHex16(res::IDC_DE_H_START);
    g.DE_H_END = FieldHex16(res::IDC_DE_H_END);
    g.DE_V_START = static_cast<uint8_t>(FieldHex16(res::IDC_DE_V_START));
    g.DE_V_END = static_cast<uint8_t>(FieldHex16(res::IDC_DE_V_END));
    g.F1_VBI_START = FieldHex16(res::IDC_F1_VBI_START);
    g.F1_VBI_END = FieldHex16(res::IDC_F1_VBI_END);
    g.F2_VBI_START = FieldHex16(res::IDC_F2_VBI_START);
    g.F2_VBI_END = FieldHex16(res::IDC_F2_VBI_END);
    g.Word30 = 0;
    return record;
}

bool CInputFormatDlg::AppendRecordFromFields() {
    fmt::FormatTable& table = Table();
    const int i = table.BuiltinCount + table.UserCount;
    if (i >= static_cast<int>(fmt::kMaxRecords))
        return false;
    // A new format starts from zero bytes, so nothing of an entry a deleted format left behind
    // travels into it.
    table.SetRecord(i, BuildRecordFromFields(fmt::FormatRecord{}));
    ++table.UserCount;
    ++table.RecordCount;
    return true;
}

bool CInputFormatDlg::ReplaceRecordFromFields() {
    fmt::FormatTable& table = Table();
    if (!IsUserFormat(table, m_editIndex))
        return false;
    const int r = table.BuiltinCount + m_editIndex;
    // Built over the record it replaces, so the bytes the editor does not interpret survive.
    const fmt::FormatRecord record = BuildRecordFromFields(table.Record(r));

    ui::CListCtrl& list = m_pParent->m_userList;
    list.DeleteAllItems();
    table.SetRecord(r, record);
    for (int k = 0; k < table.UserCount; ++k) {
        m_pParent->AppendResolutionRow(list, table.BuiltinCount + k);
    }
    return true;
}

}  // namespace timing
