// The standard timing dialog: what the user chose and typed, the result line, the list of
// fitting entries, and OK handing one timing back to the editor.
#include "timing/StandardDlg.h"

#include <cstdio>

#include "app/TextNumber.h"
#include "resources/Resource.h"
#include "timing/Trace.h"

namespace timing {

const char* const kMsgChooseStandard = "Choose a standard.";
const char* const kMsgChooseEntry = "Choose one of the listed timings (Show lists them).";
const char* const kMsgNoMeasurement =
    "No measurement of the input to match: Detect found no signal.";
const double kInputTolerancePercent = 0.5;

namespace {

// The order of the items of the standard box.
constexpr standards::Formula kFormulas[] = {standards::Formula::Cvt, standards::Formula::CvtRb,
                                            standards::Formula::CvtRb2, standards::Formula::CvtRb3,
                                            standards::Formula::Gtf};
constexpr int kDmtItem = 5;
constexpr int kCtaItem = 6;
constexpr int kFromInputItem = 7;

std::string NumberText(int value) {
    return value > 0 ? FormatText("%d", value) : "";
}

}  // namespace

CStandardDlg::CStandardDlg(ui::CDialog* parent, const Measurement& measured,
                           const standards::Request& typed)
    : ui::CDialog(res::StandardTimingTemplate(), parent), m_measured(measured), m_typed(typed) {}

bool CStandardDlg::OnInitDialog() {
    ui::CDialog::OnInitDialog();
    SetDlgItemText(res::IDC_STD_WIDTH, NumberText(m_typed.Width));
    SetDlgItemText(res::IDC_STD_HEIGHT, NumberText(m_typed.Height));
    SetDlgItemText(res::IDC_STD_RATE, m_typed.Rate > 0.0 ? FormatText("%.2f", m_typed.Rate) : "");
    ui::CButton(this, res::IDC_STD_INTERLACED).SetCheck(m_typed.Interlaced ? 1 : 0);
    ui::CListCtrl list(this, res::IDC_STD_LIST);
    list.SetExtendedStyle(ui::LVS_EX_FULLROWSELECT | ui::LVS_EX_GRIDLINES);
    list.InsertColumn(0, "Entry", ui::LVCFMT_LEFT, 60);
    list.InsertColumn(1, "Timing", ui::LVCFMT_LEFT, 100);
    list.InsertColumn(2, "Line kHz", ui::LVCFMT_LEFT, 110);
    list.InsertColumn(3, "Clock MHz", ui::LVCFMT_LEFT, 80);
    SetDlgItemText(res::IDC_STD_TOLERANCE,
                   FormatText("From input: detected size, line frequency within %.1f %%.",
                              kInputTolerancePercent));
    return true;
}

bool CStandardDlg::OnCommand(int id) {
    if (id == res::IDC_STD_SHOW) {
        Show();
        return true;
    }
    return ui::CDialog::OnCommand(id);
}

CStandardDlg::Kind CStandardDlg::ChosenKind(standards::Formula* formula,
                                            standards::TableEntry::Source* source) {
    const int item = ui::CComboBox(this, res::IDC_STD_KIND).GetCurSel();
    if (item >= 0 && item < static_cast<int>(std::size(kFormulas))) {
        *formula = kFormulas[item];
        return Formula;
    }
    if (item == kDmtItem || item == kCtaItem) {
        *source = item == kDmtItem ? standards::TableEntry::Dmt : standards::TableEntry::Cta;
        return List;
    }
    return item == kFromInputItem ? FromInput : None;
}

standards::Request CStandardDlg::TypedRequest() {
    standards::Request r;
    r.Width = app::ParseDecimalInt(GetDlgItemText(res::IDC_STD_WIDTH));
    r.Height = app::ParseDecimalInt(GetDlgItemText(res::IDC_STD_HEIGHT));
    r.Rate = app::ParseDecimalNumber(GetDlgItemText(res::IDC_STD_RATE));
    r.Interlaced = ui::CButton(this, res::IDC_STD_INTERLACED).GetCheck() != 0;
    return r;
}

void CStandardDlg::Show() {
    standards::Formula formula = standards::Formula::Cvt;
    standards::TableEntry::Source source = standards::TableEntry::Dmt;
    const Kind kind = ChosenKind(&formula, &source);
    const standards::Request request = TypedRequest();
    // A refill keeps the entry the user had selected when it still fits.
    const int before = SelectedRow();
    const standards::Listed kept = before >= 0 ? m_rows[before] : standards::Listed{};

    std::vector<standards::Listed> entries;
    std::string line;
    if (kind == None) {
        line = kMsgChooseStandard;
    } else if (kind == Formula) {
        const standards::Outcome outcome = standards::Compute(formula, request);
        line = outcome.Ok ? standards::Summary(outcome.Result) : outcome.Why;
    } else if (kind == List) {
        entries = standards::FittingEntries(source, request);
        if (entries.empty())
            line = FormatText("No %s timing fits what is typed.",
                              source == standards::TableEntry::Dmt ? "DMT" : "CTA-861");
    } else if (!(m_measured.LineKHz > 0.0)) {
        line = kMsgNoMeasurement;
    } else {
        entries = standards::MatchMeasurement(m_measured.Width, m_measured.Height,
                                              m_measured.LineKHz, kInputTolerancePercent);
        if (entries.empty())
            line = FormatText("No DMT or CTA-861 timing agrees with %dx%d at %.2f kHz.",
                              m_measured.Width, m_measured.Height, m_measured.LineKHz);
    }
    FillList(entries, kind == FromInput);
    if (!m_rows.empty()) {
        int row = 0;
        for (size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].Entry == kept.Entry && m_rows[i].Unrepeated == kept.Unrepeated)
                row = static_cast<int>(i);
        }
        ui::CListCtrl(this, res::IDC_STD_LIST)
            .SetItemState(row, ui::LVIS_SELECTED | ui::LVIS_FOCUSED,
                          ui::LVIS_SELECTED | ui::LVIS_FOCUSED);
        line = standards::ListedLabel(m_rows[row]) + ": " + standards::Summary(m_rows[row].Value);
    }
    SetDlgItemText(res::IDC_STD_RESULT, line);
}

void CStandardDlg::FillList(const std::vector<standards::Listed>& entries, bool withOffsets) {
    ui::CListCtrl list(this, res::IDC_STD_LIST);
    list.DeleteAllItems();
    m_rows = entries;
    for (size_t i = 0; i < entries.size(); ++i) {
        const standards::Timing& t = entries[i].Value;
        const int row = list.InsertItem(static_cast<int>(i), standards::ListedLabel(entries[i]));
        list.SetItemText(row, 1, standards::TimingName(t));
        std::string line = FormatText("%.3f", standards::LineFrequencyKHz(t));
        if (withOffsets)
            line += FormatText(" (%+.2f %%)", entries[i].OffsetPercent);
        list.SetItemText(row, 2, line);
        list.SetItemText(row, 3, FormatText("%.3f", t.PixelClockKHz / 1000.0));
    }
    // Each column as wide as its widest text, never narrower than its title.
    for (int column = 0; column < 4; ++column) {
        list.SetColumnWidth(column, ui::LVSCW_AUTOSIZE);
        const int cells = list.GetColumnWidth(column);
        list.SetColumnWidth(column, ui::LVSCW_AUTOSIZE_USEHEADER);
        if (cells > list.GetColumnWidth(column))
            list.SetColumnWidth(column, cells);
    }
}

int CStandardDlg::SelectedRow() {
    ui::CListCtrl list(this, res::IDC_STD_LIST);
    const int count = std::min(list.GetItemCount(), static_cast<int>(m_rows.size()));
    for (int row = 0; row < count; ++row) {
        if (list.GetItemState(row, ui::LVIS_SELECTED) != 0)
            return row;
    }
    return -1;
}

bool CStandardDlg::Resolve(standards::Timing& timing, std::string& why) {
    standards::Formula formula = standards::Formula::Cvt;
    standards::TableEntry::Source source = standards::TableEntry::Dmt;
    const Kind kind = ChosenKind(&formula, &source);
    if (kind == None) {
        why = kMsgChooseStandard;
        return false;
    }
    if (kind == Formula) {
        const standards::Outcome outcome = standards::Compute(formula, TypedRequest());
        timing = outcome.Result;
        why = outcome.Why;
        return outcome.Ok;
    }
    // A list entry is what the user sees selected, nothing the dialog guesses.
    const int row = SelectedRow();
    if (row < 0) {
        why = kMsgChooseEntry;
        return false;
    }
    timing = m_rows[row].Value;
    return true;
}

void CStandardDlg::OnOK() {
    std::string why;
    standards::Timing timing;
    if (!Resolve(timing, why)) {
        SetDlgItemText(res::IDC_STD_RESULT, why);
        ui::MessageBox(why);
        return;
    }
    m_result = timing;
    EndDialog(ui::IDOK);
}

}  // namespace timing
