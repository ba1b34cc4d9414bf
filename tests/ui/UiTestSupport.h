// A small dialog, a scripted user and a recording of what the dialog saw, for the dialog layer's
// own tests.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/Dialog.h"
#include "ui/headless/HeadlessHost.h"

namespace uitest {

constexpr int kTemplateId = 700;
constexpr int kLabel = ui::IDC_STATIC;
constexpr int kName = 1100;      // edit
constexpr int kStep = 1101;      // edit, bound to m_step with the 0..511 check
constexpr int kReadOnly = 1102;  // read-only edit
constexpr int kDevice = 1103;    // editable sorted combo box
constexpr int kMode = 1104;      // drop-down list "No", "Yes"
constexpr int kFlag = 1105;      // check box, bound to m_flag
constexpr int kList = 1106;      // report list
constexpr int kGo = 1107;        // push button
constexpr int kOff = 1108;       // disabled push button
constexpr int kDefault = 1109;   // default push button, only in the template that asks for it
constexpr int kHidden = 1110;    // hidden edit
constexpr int kGroup = 1111;     // group box

ui::DialogTemplate MakeTemplate(bool withDefaultButton = false);

// The user, as a script: inputs in order and answers for file dialogs.
class CScript : public ui::IInputSource {
  public:
    CScript& Add(ui::Input input) {
        m_inputs.push_back(std::move(input));
        return *this;
    }
    void AnswerFiles(std::deque<std::pair<bool, std::string>> answers) {
        m_fileAnswers = std::move(answers);
    }
    bool NextInput(ui::CDialog& topmost, ui::Input& input) override;
    bool AnswerFileDialog(const ui::FileDialogRequest& request, std::string& path,
                          bool& answered) override;
    void AnswerQuestions(std::deque<bool> yes) { m_questionAnswers = std::move(yes); }
    bool AnswerQuestion(const ui::MessageBoxRecord& question, bool& answered) override;

    std::vector<int> seenDialogs;  // template id of the topmost dialog at every request
    std::vector<ui::FileDialogRequest> fileRequests;

  private:
    std::deque<ui::Input> m_inputs;
    std::deque<std::pair<bool, std::string>> m_fileAnswers;
    std::deque<bool> m_questionAnswers;
};

ui::Input Click(int id);
ui::Input Release(int id);
ui::Input Press(int id);  // BM_CLICK, an accessibility press
ui::Input Key(ui::Input::Kind kind, int id = 0);
ui::Input Type(int id, const std::string& text);
ui::Input Choose(int id, const std::string& text);
ui::Input Check(int id, bool on);
ui::Input ListInput(ui::Input::Kind kind, int id, int row, bool on = false);
ui::Input Select(int id, std::vector<int> rows);
ui::Input Sys(ui::Input::Kind kind, int id = 0);

// A dialog that writes down every handler call, so a test can read the order of events.
class CTestDialog : public ui::CDialog {
  public:
    explicit CTestDialog(const ui::DialogTemplate& t, ui::CDialog* parent = nullptr)
        : CDialog(t, parent) {}

    bool OnInitDialog() override;
    void DoDataExchange(ui::CDataExchange& dx) override;
    bool OnCommand(int id) override;
    bool OnNotify(const ui::Notify& notify) override;
    bool PreTranslateMessage(const ui::Message& message) override;
    void OnSysCommand(uint32_t id) override;
    void OnPaint() override;
    void OnUserChange(int id) override;
    void OnTimer(int id) override;
    void OnDestroy() override;
    void OnEnable(bool enabled) override;

    std::vector<std::string> log;
    bool logChanges = false;  // whether OnUserChange writes "change:ID"
    bool logEnable = false;   // whether OnEnable writes "enable:0" or "enable:1"
    std::string m_step = "1";
    int m_flag = 0;
    std::vector<int> postAtInit;
    int eatReleaseOn = -1;  // a control id whose mouse releases the pre-filter eats
    // A control the pre-filter gives the focus to on every release, as a refused field does.
    int focusOnRelease = 0;
    int focusAtRelease = 0;  // where the focus was when the pre-filter saw the last release
    // Runs on a command id before the default handling, e.g. to open a nested dialog.
    std::function<bool(int)> onCommand;
};

// Installs a headless host with a script for each test, and leaves the process as it found it.
class UiTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    ui::DialogTemplate m_template = MakeTemplate();
    CScript m_script;
    ui::CHeadlessHost m_host{&m_script};
};

}  // namespace uitest
