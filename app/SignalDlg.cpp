// The signal window: one round of reads at opening and then every second, what they found in
// its fields, the agreeing standard timings in its list, and "Add Format...".
#include "app/SignalDlg.h"

#include "app/VuverezeDlg.h"
#include "platform/Platform.h"
#include "resources/Resource.h"
#include "timing/EditorRecord.h"

namespace app {

const char* const kMsgSignalGone =
    "The card answers no request: it may have been unplugged. Unlock, check the device and "
    "Lock again.";
const char* const kMsgSignalNone = "No signal at either input.";
const char* const kMsgSignalPaused =
    "Paused while another window of the program is open: the card is read again once it is "
    "closed.";
const char* const kMsgSignalChoose = "%u standard timings agree: choose one to add it as a format.";
const char* const kMsgSignalOne =
    "One standard timing agrees: Add Format... opens the editor with it.";

namespace {

using platform::FormatText;

constexpr const char* kNotRead = "not read";
constexpr const char* kColumns[] = {"Entry", "Timing", "Aspect", "Line kHz", "Clock MHz"};

std::string StatusText(const timing::InputReading::Status& status) {
    if (!status.Read)
        return kNotRead;
    return FormatText(status.Value != 0 ? "locked (status %u)" : "no signal (status %u)",
                      status.Value);
}

std::string SizeText(const timing::InputReading& r) {
    if (!r.HasWidth && !r.HasHeight)
        return kNotRead;
    return (r.HasWidth ? FormatText("%d", r.Width) : "?") + "x" +
           (r.HasHeight ? FormatText("%d", r.Height) : "?");
}

std::string LineText(const timing::InputReading& r) {
    if (!r.HasCount)
        return kNotRead;
    // No line counted, no frequency: a count of 0 is no signal, not a line of 0 kHz.
    return r.Count != 0 ? timing::LineFreqText(r.Count) + " kHz" : "none";
}

// The reads that failed, named as a person would look for them.
std::string FailedText(const timing::InputReading& r) {
    std::string failed;
    const auto add = [&failed](bool read, const char* what) {
        if (!read)
            failed += (failed.empty() ? "" : ", ") + std::string(what);
    };
    add(r.Vga.Read, "the VGA input status");
    add(r.Hdmi.Read, "the HDMI input status");
    add(r.HasWidth, "the detected width");
    add(r.HasHeight, "the detected height");
    add(r.HasCount, "the line-length count");
    return failed.empty() ? "" : "Not read, the request failed: " + failed + ".";
}

bool SameMatches(const std::vector<standards::Listed>& a, const std::vector<standards::Listed>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].Entry != b[i].Entry || a[i].Unrepeated != b[i].Unrepeated ||
            a[i].OffsetPercent != b[i].OffsetPercent)
            return false;
    }
    return true;
}

}  // namespace

CSignalDlg::CSignalDlg(CVuverezeDlg& owner)
    : ui::CDialog(res::SignalTemplate(), &owner), m_owner(owner) {}

bool CSignalDlg::OnInitDialog() {
    ui::CDialog::OnInitDialog();
    m_matches.clear();
    m_paused = false;
    SetDlgItemText(res::IDC_SIG_DEVICE, m_owner.m_deviceBox.GetWindowText());
    ui::CListCtrl list(this, res::IDC_SIG_MATCHES);
    list.SetExtendedStyle(ui::LVS_EX_FULLROWSELECT | ui::LVS_EX_GRIDLINES);
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        list.InsertColumn(column, kColumns[column], ui::LVCFMT_LEFT);
        list.SetColumnWidth(column, ui::LVSCW_AUTOSIZE_USEHEADER);
    }
    Refresh();
    SetTimer(kRefreshTimer, kRefreshMs);
    SetFocus(res::IDC_SIG_MATCHES);
    return false;
}

bool CSignalDlg::OnCommand(int id) {
    if (id == res::IDC_SIG_ADD) {
        AddFormat();
        return true;
    }
    return ui::CDialog::OnCommand(id);
}

bool CSignalDlg::OnNotify(const ui::Notify& notify) {
    // A double click on a timing adds it, as a double click on a row of "Standard..." takes it.
    if (notify.code == ui::Notify::DblClick && notify.controlId == res::IDC_SIG_MATCHES &&
        notify.item >= 0 && SelectedMatch() == notify.item) {
        AddFormat();
        return true;
    }
    return false;
}

void CSignalDlg::OnUserChange(int id) {
    if (id == res::IDC_SIG_MATCHES)
        EnableAdd();
}

void CSignalDlg::OnTimer(int id) {
    if (id == kCatchUpTimer) {
        KillTimer(kCatchUpTimer);
        SetTimer(kRefreshTimer, kRefreshMs);
    }
    Refresh();
}

void CSignalDlg::OnEnable(bool enabled) {
    // The editor or the About box is over this window: it reads nothing meanwhile (the editor
    // measures and programs the card itself), and says so rather than show figures of before
    // as if they were current. Once that window is gone it reads as soon as the program has
    // done what it does then (Add applies the table), and a whole period after that again.
    m_paused = !enabled;
    if (!enabled) {
        KillTimer(kRefreshTimer);
        SetDlgItemText(res::IDC_SIG_STATE, kMsgSignalPaused);
        EnableAdd();
        return;
    }
    SetTimer(kCatchUpTimer, 0);
}

void CSignalDlg::OnOK() {
    // Enter is "Add Format..." when there is a timing to add, and nothing else: it never
    // closes the window behind the user's back.
}

void CSignalDlg::Refresh() {
    const device::DeviceHandle* handle = m_owner.BoundDevice();
    const timing::InputReading r =
        handle != nullptr ? timing::ReadInputs(handle) : timing::InputReading{};
    ShowReading(r);
}

void CSignalDlg::ShowReading(const timing::InputReading& r) {
    SetDlgItemText(res::IDC_SIG_VGA, StatusText(r.Vga));
    SetDlgItemText(res::IDC_SIG_HDMI, StatusText(r.Hdmi));
    SetDlgItemText(res::IDC_SIG_SIZE, SizeText(r));
    SetDlgItemText(res::IDC_SIG_COUNT, r.HasCount ? FormatText("%d", r.Count) : kNotRead);
    SetDlgItemText(res::IDC_SIG_LINE, LineText(r));

    const timing::Measurement measured = r.AsMeasurement();
    const std::vector<standards::Listed> matches =
        r.SomeInputLocked() ? timing::MatchFromInput(measured) : std::vector<standards::Listed>{};
    ShowMatches(matches);

    std::string state;
    if (r.NothingAnswered()) {
        state = kMsgSignalGone;
    } else {
        state = FailedText(r);
        std::string found;
        if (!r.SomeInputLocked() && r.Vga.Read && r.Hdmi.Read)
            found = kMsgSignalNone;
        else if (matches.size() == 1)
            found = kMsgSignalOne;
        else if (matches.size() > 1)
            found = FormatText(kMsgSignalChoose, static_cast<unsigned>(matches.size()));
        else if (r.MeasurementComplete() && measured.LineKHz > 0.0)
            found = timing::NoMatchText(measured);
        state += (state.empty() || found.empty() ? "" : " ") + found;
    }
    SetDlgItemText(res::IDC_SIG_STATE, state);
    EnableAdd();
}

void CSignalDlg::ShowMatches(const std::vector<standards::Listed>& matches) {
    if (SameMatches(matches, m_matches))
        return;
    const int before = SelectedMatch();
    const standards::Listed kept = before >= 0 ? m_matches[before] : standards::Listed{};
    m_matches = matches;
    ui::CListCtrl list(this, res::IDC_SIG_MATCHES);
    list.DeleteAllItems();
    int chosen = m_matches.size() == 1 ? 0 : -1;
    for (size_t i = 0; i < m_matches.size(); ++i) {
        const std::vector<std::string> texts = timing::MatchTexts(m_matches[i]);
        const int row = list.InsertItem(static_cast<int>(i), texts[0]);
        for (int column = 1; column < static_cast<int>(texts.size()); ++column)
            list.SetItemText(row, column, texts[column]);
        if (kept.Entry != nullptr && m_matches[i].Entry == kept.Entry &&
            m_matches[i].Unrepeated == kept.Unrepeated)
            chosen = row;
    }
    if (chosen >= 0) {
        list.SetItemState(chosen, ui::LVIS_SELECTED | ui::LVIS_FOCUSED,
                          ui::LVIS_SELECTED | ui::LVIS_FOCUSED);
    }
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        list.SetColumnWidth(column, ui::LVSCW_AUTOSIZE);
        const int cells = list.GetColumnWidth(column);
        list.SetColumnWidth(column, ui::LVSCW_AUTOSIZE_USEHEADER);
        if (cells > list.GetColumnWidth(column))
            list.SetColumnWidth(column, cells);
    }
}

int CSignalDlg::SelectedMatch() {
    ui::CListCtrl list(this, res::IDC_SIG_MATCHES);
    const int count = std::min(list.GetItemCount(), static_cast<int>(m_matches.size()));
    for (int row = 0; row < count; ++row) {
        if (list.GetItemState(row, ui::LVIS_SELECTED) != 0)
            return row;
    }
    return -1;
}

void CSignalDlg::EnableAdd() {
    GetDlgItem(res::IDC_SIG_ADD).EnableWindow(!m_paused && SelectedMatch() >= 0);
}

void CSignalDlg::AddFormat() {
    const int row = SelectedMatch();
    if (row < 0 || m_paused)
        return;
    const standards::Timing chosen = m_matches[row].Value;
    m_owner.Add(&chosen);
}

}  // namespace app
