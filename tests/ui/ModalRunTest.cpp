// Modal runs on the headless host: how a dialog starts, what comes first, how it ends.
#include "UiTestSupport.h"

namespace uitest {
namespace {

using ::testing::ElementsAre;

class ModalRunTest : public UiTest {};

TEST_F(ModalRunTest, StartsFromTheTemplateWithTheFocusOnTheFirstTabStop) {
    m_template.title = "關於 Test";
    CTestDialog dlg(m_template);
    ui::InitDialog(dlg);

    EXPECT_TRUE(dlg.IsCreated());
    EXPECT_EQ(dlg.GetWindowText(), "關於 Test");
    EXPECT_EQ(dlg.GetFocus(), kName);           // not the label, the group box or the hidden edit
    EXPECT_EQ(dlg.GetDlgItemText(kStep), "1");  // the framework's initialisation wrote it
    EXPECT_EQ(dlg.GetDlgItemText(kReadOnly), "fixed");
    EXPECT_EQ(dlg.Control(kMode).items, (std::vector<std::string>{"No", "Yes"}));
    EXPECT_EQ(dlg.GetDlgItemText(kMode), "");
    EXPECT_FALSE(dlg.Control(kOff).enabled);
    EXPECT_FALSE(dlg.Control(kHidden).visible);
    EXPECT_EQ(dlg.GetStyle(), m_template.style);
}

TEST_F(ModalRunTest, TheFocusGoesNowhereWhenInitialisationKeepsIt) {
    struct CKeepsFocus : CTestDialog {
        using CTestDialog::CTestDialog;
        bool OnInitDialog() override {
            CTestDialog::OnInitDialog();
            return false;
        }
    } dlg(m_template);
    ui::InitDialog(dlg);
    EXPECT_EQ(dlg.GetFocus(), 0);
}

TEST_F(ModalRunTest, EndDialogEndsTheRunWithItsResultAndTheWindowIsGone) {
    CTestDialog dlg(m_template);
    dlg.onCommand = [&](int id) {
        if (id == kGo) {
            EXPECT_EQ(m_host.Topmost(), &dlg);
            dlg.EndDialog(42);
        }
        return id == kGo;
    };
    m_script.Add(Type(kName, "abc")).Add(Click(kGo)).Add(Click(kGo));

    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_TRUE(dlg.HasEnded());
    EXPECT_FALSE(dlg.IsCreated());
    EXPECT_EQ(m_host.Topmost(), nullptr);
    EXPECT_THAT(m_script.seenDialogs, ElementsAre(kTemplateId, kTemplateId));
    ASSERT_EQ(m_host.ModalRuns().size(), 1u);
    EXPECT_EQ(m_host.ModalRuns()[0].templateId, kTemplateId);
    EXPECT_FALSE(ui::Quitting());
}

TEST_F(ModalRunTest, APostedCommandIsServedBeforeTheUsersFirstAction) {
    CTestDialog dlg(m_template);
    dlg.postAtInit = {kGo, kName};
    m_script.Add(Click(ui::IDCANCEL));

    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_THAT(dlg.log,
                ElementsAre("init", "cmd:1107", "cmd:1100", "pre:down:2", "pre:up:2", "cmd:2"));
}

TEST_F(ModalRunTest, PostedCommandsStopWhenOneOfThemEndsTheDialog) {
    CTestDialog dlg(m_template);
    dlg.postAtInit = {ui::IDCANCEL, kGo};
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_THAT(dlg.log, ElementsAre("init", "cmd:2"));
    EXPECT_TRUE(m_script.seenDialogs.empty());
}

TEST_F(ModalRunTest, EnterWithoutADefaultButtonIsOkAndReadsTheFieldsBack) {
    CTestDialog dlg(m_template);
    m_script.Add(Type(kStep, "7")).Add(Key(ui::Input::KeyEnter));
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(dlg.m_step, "7");
    EXPECT_THAT(dlg.log, ElementsAre("init", "pre:keydown:1101:13", "pre:keyup:1101:13", "cmd:1"));
}

TEST_F(ModalRunTest, EnterGoesToTheFocusedButtonElseToTheDefaultButton) {
    m_template = MakeTemplate(true);
    CTestDialog dlg(m_template);
    ui::InitDialog(dlg);

    ui::DispatchInput(dlg, Key(ui::Input::KeyEnter));        // focus on the first edit
    ui::DispatchInput(dlg, Key(ui::Input::KeyEnter, kGo));   // focus moved to "Go"
    ui::DispatchInput(dlg, Key(ui::Input::KeyEnter, kOff));  // cannot take the focus
    EXPECT_THAT(dlg.log, ElementsAre("init", "pre:keydown:1100:13", "pre:keyup:1100:13", "cmd:1109",
                                     "pre:keydown:1107:13", "pre:keyup:1107:13", "cmd:1107",
                                     "pre:keydown:1107:13", "pre:keyup:1107:13", "cmd:1107"));
    EXPECT_FALSE(dlg.HasEnded());

    dlg.log.clear();
    ui::CButton(&dlg, kDefault).EnableWindow(false);
    ui::DispatchInput(dlg, Key(ui::Input::KeyEnter, kName));
    EXPECT_THAT(dlg.log, ElementsAre("pre:keydown:1100:13", "pre:keyup:1100:13"));
}

TEST_F(ModalRunTest, EscAndTheCloseButtonCancel) {
    for (ui::Input::Kind kind : {ui::Input::KeyEsc, ui::Input::Close}) {
        CTestDialog dlg(m_template);
        dlg.m_step = "999";  // cancelling never validates
        m_script.Add(Key(kind));
        EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
        EXPECT_EQ(dlg.log.back(), "cmd:2");
        EXPECT_TRUE(m_host.MessageBoxes().empty());
    }
}

TEST_F(ModalRunTest, MinimisedWindowsPaintTheirIconAndRestoreComesBack) {
    CTestDialog dlg(m_template);
    ui::InitDialog(dlg);
    ui::DispatchInput(dlg, Sys(ui::Input::Minimize));
    EXPECT_TRUE(dlg.IsIconic());
    ui::DispatchInput(dlg, Sys(ui::Input::Restore));
    EXPECT_FALSE(dlg.IsIconic());
    ui::DispatchInput(dlg, Sys(ui::Input::SysMenu, ui::SC_MOVE));
    EXPECT_THAT(dlg.log,
                ElementsAre("init", "sys:61472", "paint:iconic", "sys:61728", "sys:61456"));
    EXPECT_FALSE(dlg.HasEnded());
}

TEST_F(ModalRunTest, QuitEndsEveryNestedModalLoop) {
    ui::DialogTemplate innerTemplate = MakeTemplate();
    innerTemplate.id = kTemplateId + 1;
    CTestDialog outer(m_template);
    CTestDialog inner(innerTemplate, &outer);
    intptr_t innerResult = 0;
    size_t openWhileInner = 0;
    outer.onCommand = [&](int id) {
        if (id == kGo) {
            innerResult = inner.DoModal();
        }
        return id == kGo;
    };
    inner.onCommand = [&](int id) {
        openWhileInner = m_host.OpenDialogs().size();
        ui::Quit(3);
        ui::Quit(5);  // the first exit code stands
        return id == kGo;
    };
    m_script.Add(Click(kGo)).Add(Click(kGo)).Add(Click(ui::IDOK));

    EXPECT_EQ(outer.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(innerResult, ui::IDCANCEL);
    EXPECT_EQ(openWhileInner, 2u);
    EXPECT_TRUE(ui::Quitting());
    EXPECT_EQ(ui::ExitCode(), 3);
    EXPECT_THAT(m_script.seenDialogs, ElementsAre(kTemplateId, kTemplateId + 1));
    EXPECT_TRUE(m_host.OpenDialogs().empty());
}

TEST_F(ModalRunTest, RunningOutOfInputQuitsWithExitCodeZero) {
    CTestDialog dlg(m_template);
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(ui::Quitting());
    EXPECT_EQ(ui::ExitCode(), 0);
    ui::ResetQuit();
    EXPECT_FALSE(ui::Quitting());
}

TEST_F(ModalRunTest, MessageBoxesAndFileDialogsAreRecordedInOrder) {
    ui::SetAppName("Vuvereze");
    CTestDialog dlg(m_template);
    bool firstOk = false;
    bool secondOk = true;
    std::string firstPath;
    std::string secondPath = "untouched";
    dlg.onCommand = [&](int id) {
        ui::FileDialogRequest save;
        save.open = false;
        save.filter = "Bin|*.bin||";
        save.defaultExtension = "bin";
        save.flags = ui::OFN_OVERWRITEPROMPT;
        firstOk = ui::Host().FileDialog(save, firstPath);
        EXPECT_EQ(ui::MessageBox("Write error!"), ui::IDOK);
        secondOk = ui::Host().FileDialog(ui::FileDialogRequest{}, secondPath);
        return id == kGo;
    };
    m_script.AnswerFiles({{true, "/tmp/out.bin"}});
    m_script.Add(Click(kGo));
    dlg.DoModal();

    EXPECT_TRUE(firstOk);
    EXPECT_EQ(firstPath, "/tmp/out.bin");
    EXPECT_FALSE(secondOk);  // the script had no answer left: cancelled
    EXPECT_EQ(secondPath, "untouched");

    ASSERT_EQ(m_host.FileDialogs().size(), 2u);
    const ui::FileDialogRecord& save = m_host.FileDialogs()[0];
    EXPECT_FALSE(save.request.open);
    EXPECT_EQ(save.request.filter, "Bin|*.bin||");
    EXPECT_TRUE(save.answered && save.accepted);
    EXPECT_EQ(save.path, "/tmp/out.bin");
    EXPECT_EQ(save.dialogId, kTemplateId);
    EXPECT_EQ(save.sequence, 0);
    EXPECT_FALSE(m_host.FileDialogs()[1].answered || m_host.FileDialogs()[1].accepted);
    EXPECT_EQ(m_host.FileDialogs()[1].sequence, 2);

    ASSERT_EQ(m_host.MessageBoxes().size(), 1u);
    const ui::MessageBoxRecord& box = m_host.MessageBoxes()[0];
    EXPECT_EQ(box.text, "Write error!");
    EXPECT_EQ(box.caption, "Vuvereze");
    EXPECT_EQ(box.type, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    EXPECT_EQ(box.sequence, 1);
}

TEST_F(ModalRunTest, AQuestionTakesTheUsersAnswerAndUnansweredItsDefaultNo) {
    ui::SetAppName("Vuvereze");
    CTestDialog dlg(m_template);
    std::vector<int> answers;
    dlg.onCommand = [&](int) {
        for (int i = 0; i < 3; ++i)
            answers.push_back(ui::AskYesNo("Replace it?"));
        return true;
    };
    m_script.AnswerQuestions({true, false});
    m_script.Add(Click(kGo));
    dlg.DoModal();
    EXPECT_EQ(answers, (std::vector<int>{ui::IDYES, ui::IDNO, ui::IDNO}));
    ASSERT_EQ(m_host.MessageBoxes().size(), 3u);
    const ui::MessageBoxRecord& box = m_host.MessageBoxes()[0];
    EXPECT_EQ(box.caption, "Vuvereze");
    EXPECT_EQ(box.type, ui::MB_YESNO | ui::MB_ICONEXCLAMATION | ui::MB_DEFBUTTON2);
    EXPECT_EQ(box.answer, ui::IDYES);
    EXPECT_EQ(m_host.MessageBoxes()[2].answer, ui::IDNO);
    // Without a host at all, the question changes nothing either.
    ui::SetHost(nullptr);
    EXPECT_EQ(ui::AskYesNo("Replace it?"), ui::IDNO);
    EXPECT_EQ(ui::MessageBox("Done"), ui::IDOK);
    ui::SetHost(&m_host);
}

TEST_F(ModalRunTest, AFileDialogWithoutAnyInputSourceIsCancelled) {
    ui::CHeadlessHost bare;
    ui::SetHost(&bare);
    std::string path;
    EXPECT_FALSE(ui::Host().FileDialog(ui::FileDialogRequest{}, path));
    ASSERT_EQ(bare.FileDialogs().size(), 1u);
    EXPECT_FALSE(bare.FileDialogs()[0].answered);
    EXPECT_EQ(bare.MessageBoxes().size(), 0u);
}

TEST_F(ModalRunTest, WithoutAHostNothingBreaks) {
    ui::SetHost(nullptr);
    CTestDialog dlg(m_template);
    dlg.postAtInit = {ui::IDOK};
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(ui::MessageBox("nobody sees this"), ui::IDOK);
}

}  // namespace
}  // namespace uitest
