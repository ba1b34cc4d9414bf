// The standard timing dialog: what the user chose and typed, the rows it gives, the result line
// of the selected row, and OK handing that row's timing back to the editor.
#include "timing/StandardDlg.h"

#include <cstdio>

#include "resources/Resource.h"
#include "timing/TextNumber.h"
#include "timing/TimingSources.h"
#include "timing/Trace.h"

namespace timing {

const char* const kMsgChooseStandard = "Choose a standard.";
const char* const kMsgChooseEntry = "Choose one of the listed timings.";
const char* const kMsgNoMeasurement =
    "No measurement of the input to match: Detect found no signal.";
const char* const kMsgOpenEdid =
    "Open an EDID file: its bytes, or the hex dump edid-decode or xrandr --verbose prints.";

namespace {

// The order of the items of the standard box.
constexpr standards::Formula kFormulas[] = {standards::Formula::Cvt, standards::Formula::CvtRb,
                                            standards::Formula::CvtRb2, standards::Formula::CvtRb3,
                                            standards::Formula::Gtf};
constexpr int kDmtItem = 5;
constexpr int kCtaItem = 6;
constexpr int kFromInputItem = 7;
constexpr int kModelineItem = 8;
constexpr int kEdidItem = 9;

enum Column { kEntry, kTiming, kAspect, kLine, kClock, kColumns };

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
    m_interlaceWanted = m_typed.Interlaced;
    ui::CButton(this, res::IDC_STD_INTERLACED).SetCheck(m_typed.Interlaced ? 1 : 0);
    ui::CListCtrl list(this, res::IDC_STD_LIST);
    list.SetExtendedStyle(ui::LVS_EX_FULLROWSELECT | ui::LVS_EX_GRIDLINES);
    list.InsertColumn(kEntry, "Entry", ui::LVCFMT_LEFT, 60);
    list.InsertColumn(kTiming, "Timing", ui::LVCFMT_LEFT, 100);
    list.InsertColumn(kAspect, "Aspect", ui::LVCFMT_LEFT, 50);
    list.InsertColumn(kLine, "Line kHz", ui::LVCFMT_LEFT, 110);
    list.InsertColumn(kClock, "Clock MHz", ui::LVCFMT_LEFT, 80);
    SetDlgItemText(res::IDC_STD_TOLERANCE,
                   FormatText("From input: detected size, line frequency within %.1f %%.",
                              kInputTolerancePercent));
    // A standard is chosen from the start, so there is something to look at at once: what the
    // card measures when Detect found a signal, else the DMT entries that fit the typed size.
    ui::CComboBox(this, res::IDC_STD_KIND)
        .SetCurSel(m_measured.LineKHz > 0.0 ? kFromInputItem : kDmtItem);
    Refresh();
    return true;
}

bool CStandardDlg::OnCommand(int id) {
    if (id == res::IDC_STD_INTERLACED) {
        m_interlaceWanted = ui::CButton(this, res::IDC_STD_INTERLACED).GetCheck() != 0;
        Refresh();
        return true;
    }
    if (id == res::IDC_STD_SHOW) {
        Refresh();
        return true;
    }
    if (id == res::IDC_STD_EDID_OPEN) {
        OpenEdid();
        return true;
    }
    return ui::CDialog::OnCommand(id);
}

void CStandardDlg::OnUserChange(int id) {
    switch (id) {
        case res::IDC_STD_KIND:
        case res::IDC_STD_WIDTH:
        case res::IDC_STD_HEIGHT:
        case res::IDC_STD_RATE:
        case res::IDC_STD_MODELINE:
            Refresh();
            break;
        case res::IDC_STD_LIST:
            Describe();
            break;
        default:
            break;
    }
}

bool CStandardDlg::OnNotify(const ui::Notify& notify) {
    // A double click on a row chooses it, as a double click on a file chooses and opens it.
    if (notify.code == ui::Notify::DblClick && notify.controlId == res::IDC_STD_LIST &&
        notify.item >= 0 && SelectedRow() == notify.item) {
        OnOK();
        return true;
    }
    return false;
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
    if (item == kModelineItem)
        return Modeline;
    if (item == kEdidItem)
        return Edid;
    return item == kFromInputItem ? FromInput : None;
}

standards::Request CStandardDlg::TypedRequest() {
    standards::Request r;
    r.Width = timing::ParseDecimalInt(GetDlgItemText(res::IDC_STD_WIDTH));
    r.Height = timing::ParseDecimalInt(GetDlgItemText(res::IDC_STD_HEIGHT));
    r.Rate = timing::ParseDecimalNumber(GetDlgItemText(res::IDC_STD_RATE));
    // A box that does not apply asks for nothing, whatever it shows.
    ui::CButton interlaced(this, res::IDC_STD_INTERLACED);
    r.Interlaced = interlaced.IsWindowEnabled() && interlaced.GetCheck() != 0;
    return r;
}

void CStandardDlg::EnableFields(Kind kind, standards::Formula formula) {
    // "From input" matches the measurement alone, and a modeline or an EDID says everything
    // itself; reduced blanking v2 and v3 are progressive only, so their box shows no tick
    // rather than one that is ignored.
    const bool typed = kind == Formula || kind == List || kind == None;
    GetDlgItem(res::IDC_STD_MODELINE).EnableWindow(kind == Modeline);
    GetDlgItem(res::IDC_STD_EDID_FILE).EnableWindow(kind == Edid);
    GetDlgItem(res::IDC_STD_EDID_OPEN).EnableWindow(kind == Edid);
    const bool interlace = typed && !(kind == Formula && !standards::HasInterlace(formula));
    for (int id : {res::IDC_STD_WIDTH, res::IDC_STD_HEIGHT, res::IDC_STD_RATE})
        GetDlgItem(id).EnableWindow(typed);
    ui::CButton box(this, res::IDC_STD_INTERLACED);
    box.EnableWindow(interlace);
    if (kind == Formula)
        box.SetCheck(interlace && m_interlaceWanted ? 1 : 0);
    else
        box.SetCheck(m_interlaceWanted ? 1 : 0);
}

void CStandardDlg::Refresh() {
    standards::Formula formula = standards::Formula::Cvt;
    standards::TableEntry::Source source = standards::TableEntry::Dmt;
    const Kind kind = ChosenKind(&formula, &source);
    EnableFields(kind, formula);
    const standards::Request request = TypedRequest();
    const int before = SelectedRow();
    const Row kept = before >= 0 ? m_rows[before] : Row{};

    m_rows.clear();
    m_why.clear();
    const auto entryRow = [](const standards::Listed& listed) {
        return Row{standards::ListedLabel(listed), listed.Value, listed.Entry->Aspect,
                   FormatText("%.3f", standards::LineFrequencyKHz(listed.Value)), ""};
    };
    SetDlgItemText(res::IDC_STD_SOURCE, kind == Edid ? EdidSummary(m_edid) : "");
    if (kind == None) {
        m_why = kMsgChooseStandard;
    } else if (kind == Modeline || kind == Edid) {
        SourceRows(kind);
    } else if (kind == Formula) {
        const standards::Outcome outcome = standards::Compute(formula, request);
        if (outcome.Ok) {
            m_rows.push_back({standards::FormulaName(formula), outcome.Result, "",
                              FormatText("%.3f", standards::LineFrequencyKHz(outcome.Result)),
                              outcome.Note});
        } else {
            m_why = outcome.Why;
        }
    } else if (kind == List) {
        for (const standards::Listed& listed : standards::FittingEntries(source, request))
            m_rows.push_back(entryRow(listed));
        if (m_rows.empty())
            m_why = FormatText("No %s timing fits what is typed.",
                               source == standards::TableEntry::Dmt ? "DMT" : "CTA-861");
    } else if (!(m_measured.LineKHz > 0.0)) {
        m_why = kMsgNoMeasurement;
    } else {
        for (const standards::Listed& listed : MatchFromInput(m_measured)) {
            const std::vector<std::string> texts = MatchTexts(listed);
            m_rows.push_back({texts[0], listed.Value, texts[2], texts[3], ""});
        }
        if (m_rows.empty())
            m_why = NoMatchText(m_measured);
    }
    FillList();
    if (!m_rows.empty()) {
        int row = 0;
        for (size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].Label == kept.Label && m_rows[i].Value == kept.Value)
                row = static_cast<int>(i);
        }
        ui::CListCtrl(this, res::IDC_STD_LIST)
            .SetItemState(row, ui::LVIS_SELECTED | ui::LVIS_FOCUSED,
                          ui::LVIS_SELECTED | ui::LVIS_FOCUSED);
    }
    Describe();
}

void CStandardDlg::SourceRows(Kind kind) {
    const auto row = [](const std::string& label, const standards::Timing& t,
                        const std::string& aspect, const std::string& note) {
        return Row{label, t, aspect, FormatText("%.3f", standards::LineFrequencyKHz(t)), note};
    };
    if (kind == Modeline) {
        const standards::ModelineReading r =
            standards::ReadModeline(GetDlgItemText(res::IDC_STD_MODELINE));
        if (r.Ok)
            m_rows.push_back(row(r.Name.empty() ? "Modeline" : r.Name, r.Value, "", r.Note));
        else
            m_why = r.Why;
        return;
    }
    if (!m_edidOpened) {
        m_why = kMsgOpenEdid;
    } else if (!m_edid.Ok) {
        m_why = m_edid.Why;
    } else {
        for (const standards::EdidRow& r : m_edid.Rows)
            m_rows.push_back(row(r.Label, r.Value, r.Aspect, r.Note));
        if (m_rows.empty())
            m_why = "The EDID describes no timing a format can hold.";
    }
}

void CStandardDlg::OpenEdid() {
    ui::FileDialogRequest request;
    request.open = true;
    request.filter = "EDID Files(*.bin;*.edid;*.txt)|*.bin;*.edid;*.txt|All Files(*.*)|*.*||";
    request.flags = ui::OFN_EXPLORER | ui::OFN_HIDEREADONLY;
    std::string path;
    if (!ui::Host().FileDialog(request, path))
        return;
    // The file read is the one shown: a broken file replaces the last one, and says why.
    m_edid = ReadEdidAt(path);
    m_edidOpened = true;
    SetDlgItemText(res::IDC_STD_EDID_FILE, path);
    Refresh();
}

void CStandardDlg::FillList() {
    ui::CListCtrl list(this, res::IDC_STD_LIST);
    list.DeleteAllItems();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        const int row = list.InsertItem(static_cast<int>(i), r.Label);
        list.SetItemText(row, kTiming, standards::TimingName(r.Value));
        list.SetItemText(row, kAspect, r.Aspect);
        list.SetItemText(row, kLine, r.LineText);
        list.SetItemText(row, kClock, FormatText("%.3f", r.Value.PixelClockKHz / 1000.0));
    }
    // Each column as wide as its widest text, never narrower than its title.
    for (int column = 0; column < kColumns; ++column) {
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

void CStandardDlg::Describe() {
    const int row = SelectedRow();
    std::string line;
    if (row >= 0) {
        const Row& r = m_rows[row];
        line = r.Label + ": " + standards::Summary(r.Value);
        if (!r.Note.empty())
            line += ". " + r.Note;
    } else {
        line = m_rows.empty() ? m_why : kMsgChooseEntry;
    }
    SetDlgItemText(res::IDC_STD_RESULT, line);
    GetDlgItem(ui::IDOK).EnableWindow(row >= 0);
}

void CStandardDlg::OnOK() {
    // OK is enabled only with a row selected; Enter on a disabled OK does nothing.
    const int row = SelectedRow();
    if (row < 0)
        return;
    m_result = m_rows[row].Value;
    EndDialog(ui::IDOK);
}

}  // namespace timing
