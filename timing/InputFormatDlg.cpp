// The editor's window: construction, data exchange, initialisation and the OK and Cancel
// buttons, with the field helpers every other file of the editor uses.
#include "timing/InputFormatDlg.h"

#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "resources/Resource.h"
#include "timing/TextNumber.h"
#include "timing/Trace.h"

namespace timing {

const char* const kMsgFrameRateZero = "Frame Rate can not set zero";
const char* const kMsgVerticalTotalZero = "Vertical Total can not set zero";
const char* const kMsgRegReadFailed = "REG read failed";
const char* const kMsgShiftStartTooLarge = "The shift start value is too large!!(%d)";
const char* const kMsgShiftEndTooLarge = "The shift end value is too large!!(%d)";
const char* const kMsgTableFull =
    "The format table is full (256 formats)! The format was not added.";
const char* const kMsgTestTableFull =
    "The format table is full (256 formats)! The test file was written without this format.";
const char* const kMsgTestWriteFailed = "Can not write the test file!!";

namespace {

constexpr int kStepMin = 0;
constexpr int kStepMax = 511;

// The fields a fresh editor shows as "0": the visible timing and every register value.
constexpr int kZeroFields[] = {
    res::IDC_H_TOTAL,       res::IDC_H_ACTIVE,     res::IDC_V_TOTAL,       res::IDC_V_ACTIVE,
    res::IDC_FRAME_RATE,    res::IDC_H_SYNC,       res::IDC_H_FRONT_PORCH, res::IDC_V_SYNC,
    res::IDC_V_FRONT_PORCH, res::IDC_DE_H_START,   res::IDC_DE_H_END,      res::IDC_DE_V_START,
    res::IDC_DE_V_END,      res::IDC_PIXEL_CLOCK,  res::IDC_PLL_DIV_RATIO, res::IDC_FR_LL,
    res::IDC_L_MAX,         res::IDC_F1_VBI_START, res::IDC_F1_VBI_END,    res::IDC_F2_VBI_START,
    res::IDC_F2_VBI_END};

}  // namespace

CInputFormatDlg::CInputFormatDlg(IEditorOwner* parent, int editIndex)
    : ui::CDialog(res::InputFormatTemplate(), parent->EditorParent()),
      m_pParent(parent),
      m_editIndex(editIndex),
      m_stepText("1"),
      m_interlaceList(this, res::IDC_INTERLACE),
      m_hPolarityList(this, res::IDC_H_POLARITY),
      m_vPolarityList(this, res::IDC_V_POLARITY) {}

CInputFormatDlg::~CInputFormatDlg() = default;

void CInputFormatDlg::DoDataExchange(ui::CDataExchange& dx) {
    if (!dx.m_bSaveAndValidate) {
        ui::DDX_Text(dx, res::IDC_STEP, m_stepText);
        return;
    }
    // Only a step inside the range becomes the editor's step: a refused text would otherwise
    // come back into the field at the next write of the members and move the picture by it.
    std::string typed = m_stepText;
    ui::DDX_Text(dx, res::IDC_STEP, typed);
    ui::DDV_MinMaxInt(dx, timing::ParseDecimalInt(typed), kStepMin, kStepMax);
    if (!dx.m_failed)
        m_stepText = typed;
}

bool CInputFormatDlg::OnInitDialog() {
    ui::CDialog::OnInitDialog();

    for (int id : kZeroFields)
        SetField(id, "0");
    SetField(res::IDC_LINE_LENGTH, "");
    SetField(res::IDC_LINE_FREQ, "");
    m_interlaceList.SetCurSel(-1);
    m_hPolarityList.SetCurSel(-1);
    m_vPolarityList.SetCurSel(-1);

    // The first measurement runs as soon as the window shows, in both modes.
    PostCommand(res::IDC_DETECT);

    if (IsAddMode()) {
        if (m_startFrom)
            FillFromStandard(*m_startFrom);
        return true;
    }
    DebugTrace("Edit number is %d", m_editIndex);
    FillFieldsFromRecord(m_editIndex);
    return true;
}

bool CInputFormatDlg::OnCommand(int id) {
    switch (id) {
        case res::IDC_OK:
            OnOkButton();
            return true;
        case res::IDC_CANCEL:
            OnCancel();
            return true;
        case res::IDC_DETECT:
            DetectInput();
            return true;
        case res::IDC_TEST:
            RunTimingTest();
            return true;
        case res::IDC_STANDARD:
            OpenStandardDialog();
            return true;
        default:
            return ui::CDialog::OnCommand(id);
    }
}

void CInputFormatDlg::OnOkButton() {
    // The step is checked before anything is stored: a refused OK leaves the table as it was,
    // so pressing OK again cannot store the format twice.
    if (!UpdateData(true))
        return;

    fmt::FormatTable& table = Table();
    if (IsAddMode()) {
        if (table.BuiltinCount + table.UserCount >= static_cast<int>(fmt::kMaxRecords)) {
            ui::MessageBox(kMsgTableFull);
            return;
        }
        ui::CListCtrl& list = m_pParent->UserFormatList();
        const int n = list.GetItemCount();
        const int width = FieldInt(res::IDC_H_ACTIVE);
        const int height = FieldInt(res::IDC_V_ACTIVE);
        const int row = list.InsertItem(n, "");
        list.SetCheck(row, true);
        list.SetItemText(row, 0, FormatText("%d", n));
        list.SetItemText(row, 1, FormatText("%dx%d", width, height));
        list.SetItemText(
            row, 2, FormatText("%.2f", timing::ParseDecimalNumber(FieldText(res::IDC_FRAME_RATE))));
        AppendRecordFromFields();
    } else {
        DebugTrace("Edit number is %d", m_editIndex);
        ReplaceRecordFromFields();
    }
    ui::CDialog::OnOK();
}

std::string CInputFormatDlg::FieldText(int id) const {
    return GetDlgItemText(id);
}

int32_t CInputFormatDlg::FieldInt(int id) const {
    return timing::ParseDecimalInt(FieldText(id));
}

uint16_t CInputFormatDlg::FieldHex16(int id) const {
    return static_cast<uint16_t>(timing::ParseHex(FieldText(id)));
}

void CInputFormatDlg::SetField(int id, const std::string& text) {
    SetDlgItemText(id, text);
}

bool CInputFormatDlg::InterlaceChosen() const {
    return FieldText(res::IDC_INTERLACE) == "Yes";
}

fmt::FormatTable& CInputFormatDlg::Table() const {
    return m_pParent->EditedTable();
}

const device::DeviceHandle* CInputFormatDlg::Handle() const {
    return m_pParent->BoundDevice();
}

}  // namespace timing
