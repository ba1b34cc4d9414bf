// Between the editor's fields and a FormatRecord: filling the fields from a user format, and
// building a record from them for OK and for the live test.
#include "format/FormatTable.h"
#include "resources/Resource.h"
#include "timing/EditorRecord.h"
#include "timing/InputFormatDlg.h"
#include "timing/Trace.h"

namespace timing {
namespace {

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
    RecordFields f;
    f.HTotal = FieldText(res::IDC_H_TOTAL);
    f.HActive = FieldText(res::IDC_H_ACTIVE);
    f.VTotal = FieldText(res::IDC_V_TOTAL);
    f.VActive = FieldText(res::IDC_V_ACTIVE);
    f.FrameRate = FieldText(res::IDC_FRAME_RATE);
    f.VSync = FieldText(res::IDC_V_SYNC);
    f.HPolarity = FieldText(res::IDC_H_POLARITY);
    f.VPolarity = FieldText(res::IDC_V_POLARITY);
    f.Interlace = FieldText(res::IDC_INTERLACE);
    f.PixelClock = FieldText(res::IDC_PIXEL_CLOCK);
    f.LineLength = FieldText(res::IDC_LINE_LENGTH);
    f.LineFreq = FieldText(res::IDC_LINE_FREQ);
    f.PllDivRatio = FieldText(res::IDC_PLL_DIV_RATIO);
    f.FrLl = FieldText(res::IDC_FR_LL);
    f.LMax = FieldText(res::IDC_L_MAX);
    f.DeHStart = FieldText(res::IDC_DE_H_START);
    f.DeHEnd = FieldText(res::IDC_DE_H_END);
    f.DeVStart = FieldText(res::IDC_DE_V_START);
    f.DeVEnd = FieldText(res::IDC_DE_V_END);
    f.F1VbiStart = FieldText(res::IDC_F1_VBI_START);
    f.F1VbiEnd = FieldText(res::IDC_F1_VBI_END);
    f.F2VbiStart = FieldText(res::IDC_F2_VBI_START);
    f.F2VbiEnd = FieldText(res::IDC_F2_VBI_END);
    return BuildRecord(f, base);
}

bool CInputFormatDlg::AppendRecordFromFields() {
    // A new format starts from zero bytes, so nothing of an entry a deleted format left behind
    // travels into it.
    return Table().AppendUserRecord(BuildRecordFromFields(fmt::FormatRecord{}));
}

bool CInputFormatDlg::ReplaceRecordFromFields() {
    fmt::FormatTable& table = Table();
    if (!IsUserFormat(table, m_editIndex))
        return false;
    const int r = table.BuiltinCount + m_editIndex;
    // Built over the record it replaces, so the bytes the editor does not interpret survive.
    const fmt::FormatRecord record = BuildRecordFromFields(table.Record(r));

    ui::CListCtrl& list = m_pParent->UserFormatList();
    list.DeleteAllItems();
    table.SetRecord(r, record);
    for (int k = 0; k < table.UserCount; ++k) {
        m_pParent->AppendResolutionRow(list, table.BuiltinCount + k);
    }
    return true;
}

}  // namespace timing
