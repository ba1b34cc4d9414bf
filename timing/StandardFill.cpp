// "Standard...": the editor hands its typed timing and its last measurement to the standard
// timing dialog and, on OK, types the chosen timing into its visible fields.
#include "resources/Resource.h"
#include "timing/EditorRecord.h"
#include "timing/InputFormatDlg.h"
#include "timing/StandardDlg.h"
#include "timing/TextNumber.h"
#include "timing/Trace.h"

namespace timing {

void CInputFormatDlg::OpenStandardDialog() {
    CStandardDlg::Measurement measured;
    measured.Width = FieldInt(res::IDC_DETECTED_WIDTH);
    measured.Height = FieldInt(res::IDC_DETECTED_HEIGHT);
    measured.LineKHz = timing::ParseDecimalNumber(FieldText(res::IDC_LINE_FREQ));
    standards::Request typed;
    typed.Width = FieldInt(res::IDC_H_ACTIVE);
    typed.Height = FieldInt(res::IDC_V_ACTIVE);
    typed.Rate = timing::ParseDecimalNumber(FieldText(res::IDC_FRAME_RATE));
    typed.Interlaced = InterlaceChosen();

    CStandardDlg dlg(this, measured, typed);
    if (dlg.DoModal() == ui::IDOK)
        FillFromStandard(dlg.Result());
}

void CInputFormatDlg::FillFromStandard(const standards::Timing& t) {
    // As a user would type them. The horizontal porch and sync of an edited format stay
    // "N/A": the editor keeps them disabled, and a user could not type there either.
    const auto type = [this](int id, int value) {
        if (GetDlgItem(id).IsWindowEnabled())
            SetField(id, FormatText("%d", value));
    };
    type(res::IDC_H_ACTIVE, t.HActive);
    type(res::IDC_V_ACTIVE, t.VActive);
    type(res::IDC_H_FRONT_PORCH, t.HFrontPorch);
    type(res::IDC_V_FRONT_PORCH, t.VFrontPorch);
    type(res::IDC_H_SYNC, t.HSync);
    type(res::IDC_V_SYNC, t.VSync);
    type(res::IDC_H_TOTAL, t.HTotal);
    type(res::IDC_V_TOTAL, t.VTotal);
    SetField(res::IDC_FRAME_RATE, RateText(standards::RefreshRate(t)));
    m_hPolarityList.SetCurSel(t.HSyncPositive ? 1 : 0);
    m_vPolarityList.SetCurSel(t.VSyncPositive ? 1 : 0);
    m_interlaceList.SetCurSel(t.Interlaced ? 1 : 0);
}

}  // namespace timing
