// The "Standard..." dialog of the timing editor: a timing from CVT, its reduced-blanking
// variants, GTF, the DMT or CTA-861 list, the list entries that agree with the editor's last
// measurement of the input, a modeline the user pastes or an EDID file the user opens. Its list
// always shows what the choice gives (a formula's one result, the fitting entries) and its result
// line always describes the row OK fills.
#pragma once

#include <string>
#include <vector>

#include "standards/Sources.h"
#include "standards/Timing.h"
#include "timing/InputSignal.h"
#include "ui/Dialog.h"

namespace timing {

extern const char* const kMsgChooseStandard;
extern const char* const kMsgChooseEntry;
extern const char* const kMsgNoMeasurement;
extern const char* const kMsgOpenEdid;

class CStandardDlg : public ui::CDialog {
  public:
    // What the editor measured last: its detected size and line frequency.
    using Measurement = timing::Measurement;
    // The typed timing the dialog starts from (0 where the editor has none).
    CStandardDlg(ui::CDialog* parent, const Measurement& measured, const standards::Request& typed);

    bool OnInitDialog() override;
    bool OnCommand(int id) override;
    bool OnNotify(const ui::Notify& notify) override;
    void OnUserChange(int id) override;
    void OnOK() override;

    // The timing OK chose.
    const standards::Timing& Result() const { return m_result; }

  private:
    enum Kind { Formula, List, FromInput, Modeline, Edid, None };
    // One row of the list: a formula's result, a list entry or an entry that matches the input.
    struct Row {
        std::string Label;  // "CVT", "DMT 0x52", "VIC 6 unrepeated"
        standards::Timing Value;
        std::string Aspect;
        std::string LineText;  // the line frequency, for "From input" with its offset
        std::string Note;      // what the standard made of the request, if it could not take it
    };

    Kind ChosenKind(standards::Formula* formula, standards::TableEntry::Source* source);
    standards::Request TypedRequest();
    // The fields that apply to the chosen standard are enabled, the others not.
    void EnableFields(Kind kind, standards::Formula formula);
    // Recomputes the rows for what is chosen and typed; the selected row stays selected when it
    // is still there, else the first row is.
    void Refresh();
    void FillList();
    // The rows of a modeline or of the EDID opened; m_why says why when there are none.
    void SourceRows(Kind kind);
    void OpenEdid();
    int SelectedRow();
    // The result line and OK for the selected row.
    void Describe();

    Measurement m_measured;
    standards::Request m_typed;
    std::vector<Row> m_rows;
    std::string m_why;  // why there is no row
    bool m_interlaceWanted = false;
    bool m_edidOpened = false;
    standards::EdidReading m_edid;
    standards::Timing m_result;
};

}  // namespace timing
