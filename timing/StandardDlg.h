// The "Standard..." dialog of the timing editor: a timing from CVT, its reduced-blanking
// variants, GTF, the DMT or CTA-861 list, or the list entries that agree with the editor's
// last measurement of the input.
#pragma once

#include <string>
#include <vector>

#include "timing/standards/Timing.h"
#include "ui/Dialog.h"

namespace timing {

extern const char* const kMsgChooseStandard;
extern const char* const kMsgChooseEntry;
extern const char* const kMsgNoMeasurement;
// How closely "From input" matches the measured line frequency, in percent.
extern const double kInputTolerancePercent;

class CStandardDlg : public ui::CDialog {
  public:
    // What the editor measured last: its detected size and line frequency.
    struct Measurement {
        int Width = 0;
        int Height = 0;
        double LineKHz = 0.0;
    };
    // The typed timing the dialog starts from (0 where the editor has none).
    CStandardDlg(ui::CDialog* parent, const Measurement& measured, const standards::Request& typed);

    bool OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

    // The timing OK chose.
    const standards::Timing& Result() const { return m_result; }

  private:
    enum Kind { Formula, List, FromInput, None };
    Kind ChosenKind(standards::Formula* formula, standards::TableEntry::Source* source);
    standards::Request TypedRequest();
    // Computes the result line and refills the list for what is chosen and typed.
    void Show();
    void FillList(const std::vector<standards::Listed>& entries, bool withOffsets);
    int SelectedRow();
    // The timing the present choice gives, or false with the reason.
    bool Resolve(standards::Timing& timing, std::string& why);

    Measurement m_measured;
    standards::Request m_typed;
    std::vector<standards::Listed> m_rows;
    standards::Timing m_result;
};

}  // namespace timing
