// The timing editor: one user format's timing, the register values derived from it, the chip
// writes that try it on the card, the measurement of the input and the output position.
// One class over several files, one concern each (see timing/README.md).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "format/FormatRecord.h"
#include "standards/Timing.h"
#include "timing/EditorOwner.h"
#include "ui/Dialog.h"

namespace device {
struct DeviceHandle;
}

namespace fmt {
class FormatTable;
}

namespace timing {

// The messages of the editor.
extern const char* const kMsgFrameRateZero;
extern const char* const kMsgVerticalTotalZero;
extern const char* const kMsgRegReadFailed;
extern const char* const kMsgShiftStartTooLarge;  // printf format with the largest step
extern const char* const kMsgShiftEndTooLarge;
extern const char* const kMsgTableFull;
extern const char* const kMsgTestTableFull;
extern const char* const kMsgTestWriteFailed;

class CInputFormatDlg : public ui::CDialog {
  public:
    // editIndex -1 adds a new user format; k edits user format k (record BuiltinCount + k).
    CInputFormatDlg(IEditorOwner* parent, int editIndex);
    ~CInputFormatDlg() override;

    void DoDataExchange(ui::CDataExchange& dx) override;
    bool PreTranslateMessage(const ui::Message& message) override;
    bool OnInitDialog() override;
    // Enter outside a focused push button is the framework's OK (the fields read back, the
    // dialog closed with OK): only the OK button stores the format.
    bool OnCommand(int id) override;

    int EditIndex() const { return m_editIndex; }
    bool IsAddMode() const { return m_editIndex < 0; }
    const std::string& StepText() const { return m_stepText; }

    // --- Buttons.
    void OnOkButton();
    void DetectInput();
    void RunTimingTest();
    // "Standard...": fills the visible timing from a standard, as a user would type it.
    void OpenStandardDialog();
    // What "Standard..." and then OK type into the fields for the timing t.
    void FillFromStandard(const standards::Timing& t);
    // A new format starts from t, filled in as "Standard..." fills it, once the editor opens
    // (before DoModal; add mode only).
    void StartFrom(const standards::Timing& t) { m_startFrom = t; }

    // --- The record and the fields.
    void FillFieldsFromRecord(int k);
    // Appends the fields' format as user format UserCount. False (nothing stored) when the
    // table is full.
    bool AppendRecordFromFields();
    // Puts the fields' format in place of user format edit index and fills the user list
    // again. False (nothing stored, list untouched) when the edit index names no user format.
    bool ReplaceRecordFromFields();
    // The record the fields describe, built over `base`: bytes the editor does not interpret
    // keep what base holds.
    fmt::FormatRecord BuildRecordFromFields(const fmt::FormatRecord& base) const;

    // --- Derivation of the register values into the hidden fields.
    void CalcFrameRegisters();
    void CalcField1Blanking();
    void CalcField2Blanking();

    // --- The chip writers; each DE and blanking writer ends with the re-detect pause.
    void WriteDeHStart();
    void WriteDeHEnd();
    void WriteDeVStart();
    void WriteDeVEnd();
    void WritePllDivRatio();
    void WriteFrLl();
    void WriteLMax();
    void WriteInterlace();
    void WriteF1VbiStart();
    void WriteF1VbiEnd();
    void WriteF2VbiStart();
    void WriteF2VbiEnd();

    // --- Live test.
    void AlignToDetectedInput();

  private:
    // Text of a field, and the field read by one of the three number rules.
    std::string FieldText(int id) const;
    int32_t FieldInt(int id) const;
    uint16_t FieldHex16(int id) const;  // base 16, low 16 bits
    void SetField(int id, const std::string& text);
    bool InterlaceChosen() const;  // the Int. box shows "Yes"

    fmt::FormatTable& Table() const;
    const device::DeviceHandle* Handle() const;

    // Disables "Detect", waits for the card to settle, measures again and enables "Detect".
    void RedetectPause();
    // The three settings a locked VGA input needs on bus 0x40.
    void WriteVgaSetup();
    void CalcFieldBlanking(bool field2);
    // The move of one arrow button; false when the button is not one of them or a limit stops it.
    bool MoveOutputPosition(int buttonId);

    IEditorOwner* m_pParent;
    int m_editIndex;
    std::optional<standards::Timing> m_startFrom;
    std::string m_stepText;
    ui::CComboBox m_interlaceList;
    ui::CComboBox m_hPolarityList;
    ui::CComboBox m_vPolarityList;
};

}  // namespace timing
