// The Qt host on Qt's offscreen screen: real widget events go in, the dialog layer decides, and
// what it decided is what the widgets show.
#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <map>
#include <vector>

#include "platform/Platform.h"
#include "ui/qt/QtHost.h"
#include "ui/qt/QtWindow.h"

namespace {

using namespace ui;

constexpr int kEdit = 100;
constexpr int kBox = 101;
constexpr int kGo = 102;
constexpr int kList = 103;
constexpr int kCombo = 104;
constexpr int kPlain = 105;
constexpr int kShown = 106;  // a read-only edit, as "Detected Width"

QApplication& App() {
    static int argc = 1;
    static char name[] = "vz_ui_qt_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (QApplication::instance() == nullptr) {
        qputenv("FONTCONFIG_FILE", VZ_LATIN_ONLY_FONTS);
    }
    // Never destroyed: at exit Qt's own statics may already be gone before ours.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

ControlTemplate Ctl(int id, ControlKind kind, const char* caption, Rect rect, uint32_t style = 0) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.caption = caption;
    c.rect = rect;
    c.style = style | WS_TABSTOP;
    return c;
}

const DialogTemplate& ProbeTemplate() {
    static const DialogTemplate t = [] {
        DialogTemplate d;
        d.id = 900;
        d.title = "Probe";
        d.fontName = "Sans";
        d.cx = 200;
        d.cy = 120;
        d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        d.controls = {
            Ctl(kEdit, ControlKind::Edit, "", {10, 10, 60, 14}),
            Ctl(kBox, ControlKind::CheckBox, "Box", {10, 30, 60, 10}, BS_AUTOCHECKBOX),
            Ctl(kGo, ControlKind::PushButton, "Go", {10, 50, 50, 14}),
            Ctl(kList, ControlKind::ListView, "", {80, 10, 110, 80}, LVS_REPORT),
            Ctl(IDOK, ControlKind::PushButton, "OK", {140, 100, 50, 14}),
            Ctl(kCombo, ControlKind::ComboBox, "", {10, 70, 60, 40}, CBS_DROPDOWN),
            Ctl(kPlain, ControlKind::PushButton, "Plain", {80, 100, 50, 14}),
            Ctl(kShown, ControlKind::Edit, "", {10, 88, 60, 10}, ES_READONLY),
            // The About box's icon: a rectangle smaller than the icon it shows.
            Ctl(IDC_STATIC, ControlKind::Icon, "128", {140, 30, 21, 20}, SS_ICON),
        };
        return d;
    }();
    return t;
}

// A dialog that plays a script of user actions, one step each time the host's loop runs dry, and
// remembers what reached it.
class CProbeDlg : public CDialog {
  public:
    using Step = std::function<void(CProbeDlg&)>;
    CProbeDlg(CQtHost& host, std::vector<Step> steps, CDialog* parent = nullptr)
        : CDialog(ProbeTemplate(), parent), m_host(host), m_steps(std::move(steps)) {}

    QWidget* Widget(int id) { return m_host.WindowOf(*this)->ControlWidget(id); }
    int FocusOnScreen() {
        QWidget* focus = Window()->focusWidget();
        return focus != nullptr ? m_host.WindowOf(*this)->ControlOf(focus) : 0;
    }
    QDialog* Window() { return m_host.WindowOf(*this)->Widget(); }

    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        if (withAboutItem) {
            AppendSystemMenu(0, "");
            AppendSystemMenu(16, "\xE9\x97\x9C\xE6\x96\xBC Vuvereze(&A)...");
        }
        CListCtrl list(this, kList);
        list.InsertColumn(0, "Id", LVCFMT_LEFT, 40);
        list.InsertColumn(1, "Format", LVCFMT_LEFT, 80);
        list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        for (int row = 0; row < 2; ++row) {
            list.InsertItem(row, row == 0 ? "0" : "1");
            list.SetItemText(row, 1, row == 0 ? "640x480" : "800x600");
        }
        list.SetCheck(0, true);
        CComboBox combo(this, kCombo);
        combo.AddString("a");
        combo.SetCurSel(0);
        return true;
    }
    bool OnCommand(int id) override {
        commands.push_back(id);
        if (id == kGo && waitMs > 0) {
            platform::Sleep(waitMs);
            waitEnded = true;
            return true;
        }
        if (id == IDOK || id == kPlain) {
            servedAfterWait.push_back(waitEnded);
        }
        if (id == kPlain && boxOnPlain) {
            ui::MessageBox("Out of range");
            return true;
        }
        if (id == kGo) {
            // What a handler that blocks next would leave on screen.
            GetDlgItem(kGo).EnableWindow(false);
            goEnabledOnScreen = Widget(kGo)->isEnabled();
            GetDlgItem(kGo).EnableWindow(true);
        }
        return CDialog::OnCommand(id);
    }
    void OnSysCommand(uint32_t id) override {
        sysCommands.push_back(id);
        CDialog::OnSysCommand(id);
    }
    bool OnNotify(const Notify& notify) override {
        notifies.push_back(notify);
        return true;
    }
    bool PreTranslateMessage(const Message& message) override {
        messages.push_back(message);
        return false;
    }

    static inline bool withAboutItem = false;
    std::vector<int> commands;
    std::vector<uint32_t> sysCommands;
    std::vector<Notify> notifies;
    std::vector<Message> messages;
    bool goEnabledOnScreen = true;
    bool boxOnPlain = false;
    uint32_t waitMs = 0;
    bool waitEnded = false;
    std::vector<bool> servedAfterWait;

    // Run from the host's idle handler, so a step acts only once the loop has dispatched
    // everything the step before it queued, however slow the machine is. False once the script
    // is played out: a dialog still open then ends the loop rather than waiting forever.
    bool PlayNext() {
        if (m_next >= m_steps.size()) {
            return false;
        }
        m_steps[m_next++](*this);
        return true;
    }

  private:
    CQtHost& m_host;
    std::vector<Step> m_steps;
    size_t m_next = 0;
};

class QtHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        App();
        ResetQuit();
        SetHost(&m_host);
    }
    void TearDown() override { SetHost(nullptr); }

    intptr_t Run(std::vector<CProbeDlg::Step> steps, CProbeDlg** seen = nullptr,
                 uint32_t waitMs = 0) {
        m_dlg = std::make_unique<CProbeDlg>(m_host, std::move(steps));
        m_dlg->waitMs = waitMs;
        if (seen != nullptr) {
            *seen = m_dlg.get();
        }
        CProbeDlg* dlg = m_dlg.get();
        m_host.SetIdleHandler([dlg](CDialog&) { return dlg->PlayNext(); });
        const intptr_t result = dlg->DoModal();
        m_host.SetIdleHandler(nullptr);
        return result;
    }
    static void ClickOk(CProbeDlg& dlg) { QTest::mouseClick(dlg.Widget(IDOK), Qt::LeftButton); }

    CQtHost m_host;
    std::unique_ptr<CProbeDlg> m_dlg;
};

TEST_F(QtHostTest, AButtonClickIsOneCommandAfterThePreFilterSawPressAndRelease) {
    CProbeDlg* dlg = nullptr;
    const intptr_t result = Run(
        {[](CProbeDlg& d) { QTest::mouseClick(d.Widget(kGo), Qt::LeftButton); }, ClickOk}, &dlg);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg->commands, (std::vector<int>{kGo, IDOK}));
    ASSERT_GE(dlg->messages.size(), 2u);
    EXPECT_EQ(dlg->messages[0].kind, Message::LButtonDown);
    EXPECT_EQ(dlg->messages[0].targetId, kGo);
    EXPECT_EQ(dlg->messages[1].kind, Message::LButtonUp);
    // The handler's greyed button was on the widget before the handler went on.
    EXPECT_FALSE(dlg->goEnabledOnScreen);
}

TEST_F(QtHostTest, AReleaseOffTheButtonIsNoClickYetThePreFilterSeesItOnTheButton) {
    CProbeDlg* dlg = nullptr;
    Run({[](CProbeDlg& d) {
             QTest::mousePress(d.Widget(kGo), Qt::LeftButton);
             QTest::mouseRelease(d.Widget(kGo), Qt::LeftButton, {}, QPoint(-40, -40));
         },
         ClickOk},
        &dlg);
    EXPECT_EQ(dlg->commands, (std::vector<int>{IDOK}));
    ASSERT_FALSE(dlg->messages.empty());
    EXPECT_EQ(dlg->messages[0].kind, Message::LButtonUp);
    EXPECT_EQ(dlg->messages[0].targetId, kGo);
}

TEST_F(QtHostTest, ACheckBoxTogglesOnceAndShowsWhatTheDialogHolds) {
    bool shown = false;
    CProbeDlg* dlg = nullptr;
    Run({[](CProbeDlg& d) { QTest::mouseClick(d.Widget(kBox), Qt::LeftButton); },
         [&shown](CProbeDlg& d) {
             shown = static_cast<QCheckBox*>(d.Widget(kBox))->isChecked();
             EXPECT_EQ(d.Control(kBox).check, 1);
         },
         ClickOk},
        &dlg);
    EXPECT_TRUE(shown);
    EXPECT_EQ(dlg->commands, (std::vector<int>{kBox, IDOK}));
}

TEST_F(QtHostTest, TypedTextReachesTheDialogAndTheProgramsTextReachesTheWidget) {
    QString shown;
    Run({[](CProbeDlg& d) { QTest::keyClicks(d.Widget(kEdit), "12"); },
         [](CProbeDlg& d) {
             EXPECT_EQ(d.GetDlgItemText(kEdit), "12");
             d.SetDlgItemText(kEdit, "\xC3\xA9t\xC3\xA9");  // "été" in the UTF-8 code page
         },
         [&shown](CProbeDlg& d) { shown = static_cast<QLineEdit*>(d.Widget(kEdit))->text(); },
         ClickOk});
    EXPECT_EQ(shown, QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
}

TEST_F(QtHostTest, TypingIntoAComboBoxKeepsTheCaretWhileTheSelectionIsDropped) {
    QString shown;
    Run({[](CProbeDlg& d) {
             // The caret goes to the front: "b" makes "ba" and stays before the "a".
             auto* edit = static_cast<QComboBox*>(d.Widget(kCombo))->lineEdit();
             edit->setFocus();
             edit->home(false);
             QTest::keyClicks(edit, "b");
         },
         [](CProbeDlg& d) {
             EXPECT_EQ(d.Control(kCombo).curSel, -1);
             QTest::keyClicks(static_cast<QComboBox*>(d.Widget(kCombo))->lineEdit(), "c");
         },
         [&shown](CProbeDlg& d) {
             EXPECT_EQ(d.GetDlgItemText(kCombo), "bca");
             shown = static_cast<QComboBox*>(d.Widget(kCombo))->currentText();
         },
         ClickOk});
    EXPECT_EQ(shown, "bca");
}

TEST_F(QtHostTest, AClickedButtonLeavesTheFocusSoEnterIsNotASecondPress) {
    CProbeDlg* dlg = nullptr;
    Run({[](CProbeDlg& d) {
             d.Widget(kEdit)->setFocus();
             QTest::mouseClick(d.Widget(kPlain), Qt::LeftButton);
         },
         [](CProbeDlg& d) { QTest::keyClick(d.Window()->focusWidget(), Qt::Key_Return); }, ClickOk},
        &dlg);
    EXPECT_EQ(dlg->commands, (std::vector<int>{kPlain, IDOK}));
}

TEST_F(QtHostTest, ListRowsChecksTicksSelectionAndHeaderClicks) {
    CProbeDlg* dlg = nullptr;
    Run({[](CProbeDlg& d) {
             auto* list = static_cast<QTableWidget*>(d.Widget(kList));
             ASSERT_EQ(list->rowCount(), 2);
             EXPECT_EQ(list->item(1, 1)->text(), "800x600");
             EXPECT_EQ(list->item(0, 0)->checkState(), Qt::Checked);
             EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Unchecked);
             list->item(1, 0)->setCheckState(Qt::Checked);  // as the user's click on the box
             list->selectRow(1);
             const QHeaderView* header = list->horizontalHeader();
             const QPoint format(header->sectionViewportPosition(1) + 5, header->height() / 2);
             QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, format);
         },
         [](CProbeDlg& d) {
             const ControlState& list = d.Control(kList);
             EXPECT_TRUE(list.rows[1].checked);
             EXPECT_EQ(list.rows[0].state & LVIS_SELECTED, 0u);
             EXPECT_NE(list.rows[1].state & LVIS_SELECTED, 0u);
         },
         ClickOk},
        &dlg);
    ASSERT_EQ(dlg->notifies.size(), 1u);
    EXPECT_EQ(dlg->notifies[0].code, Notify::ColumnClick);
    EXPECT_EQ(dlg->notifies[0].subItem, 1);
}

TEST_F(QtHostTest, DoubleClicksOnARowOrBelowTheRowsNotifyButNotOnTheHeader) {
    CProbeDlg* dlg = nullptr;
    Run({[](CProbeDlg& d) {
             auto* list = static_cast<QTableWidget*>(d.Widget(kList));
             const QRect second = list->visualRect(list->model()->index(1, 1));
             QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
             QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                                QPoint(5, list->viewport()->height() - 3));
             QTest::mouseDClick(list->horizontalHeader()->viewport(), Qt::LeftButton, {},
                                QPoint(5, 5));
         },
         ClickOk},
        &dlg);
    std::vector<int> rows;
    for (const Notify& notify : dlg->notifies) {
        if (notify.code == Notify::DblClick) {
            rows.push_back(notify.item);
        }
    }
    EXPECT_EQ(rows, (std::vector<int>{1, -1}));
}

TEST_F(QtHostTest, ScrollingToTheEndShowsTheLastRowAtTheBottom) {
    std::vector<int> top;
    std::vector<int> bottom;
    int programTop = 0;
    QRect topRect;
    QRect lastRect;
    int rowsHeight = 0;
    auto look = [&](CProbeDlg& d) {
        auto* list = static_cast<QTableWidget*>(d.Widget(kList));
        top.push_back(list->rowAt(1));
        bottom.push_back(list->rowAt(list->viewport()->height() - 2));
        programTop = d.Control(kList).topIndex;
        topRect = list->visualRect(list->model()->index(top.back(), 0));
        lastRect = list->visualRect(list->model()->index(list->rowCount() - 1, 0));
        rowsHeight = list->viewport()->height();
    };
    Run({[](CProbeDlg& d) {
             CListCtrl list(&d, kList);
             for (int row = 2; row < 30; ++row) {
                 list.InsertItem(row, "x");
             }
         },
         look,
         [](CProbeDlg& d) {
             CListCtrl list(&d, kList);
             ItemRect rect;
             list.GetItemRect(0, rect);
             list.Scroll(0, rect.Height() * list.GetItemCount());
         },
         look, ClickOk});
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0], 0);
    // Both the top row and the last one are whole: none slides half under the header, and what
    // is left of the page under the last row stays blank, as in the Windows list.
    EXPECT_EQ(topRect.top(), 0);
    EXPECT_LE(lastRect.bottom(), rowsHeight - 1);
    EXPECT_GT(lastRect.bottom(), rowsHeight - 1 - lastRect.height());
    EXPECT_TRUE(bottom[1] == 29 || bottom[1] == -1);
    // The program's page agrees with the screen's: its top row is the one on top.
    EXPECT_EQ(programTop, top[1]);
}

TEST_F(QtHostTest, SpaceTicksTheBoxOfTheFocusedRowWhicheverCellIsCurrent) {
    std::vector<bool> ticked;
    std::vector<bool> selected;
    auto look = [&](CProbeDlg& d) {
        ticked.push_back(d.Control(kList).rows[1].checked);
        selected.push_back((d.Control(kList).rows[1].state & LVIS_SELECTED) != 0);
    };
    Run({[](CProbeDlg& d) {
             auto* list = static_cast<QTableWidget*>(d.Widget(kList));
             // As a click on the row's "Format" cell leaves it: the focus on row 1, column 1.
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                               list->visualRect(list->model()->index(1, 1)).center());
             list->setFocus();
             QTest::keyClick(list, Qt::Key_Space);
         },
         look,
         [](CProbeDlg& d) {
             // Two presses before the loop serves either: ticked and unticked again.
             auto* list = static_cast<QTableWidget*>(d.Widget(kList));
             QTest::keyClick(list, Qt::Key_Space);
             QTest::keyClick(list, Qt::Key_Space);
         },
         look, ClickOk});
    EXPECT_EQ(ticked, (std::vector<bool>{true, true}));
    // Space selects the row it ticks, as the Windows list view does.
    EXPECT_EQ(selected, (std::vector<bool>{true, true}));
}

TEST_F(QtHostTest, TheFocusedRowCarriesOneFocusBoxAcrossTheRowWhileTheListHasTheKeyboard) {
    int top = -1;
    int between = -1;
    int unfocused = -1;
    int width = 0;
    Run({[&](CProbeDlg& d) {
             auto* list = static_cast<QTableWidget*>(d.Widget(kList));
             list->setFocus();
             list->setCurrentIndex(list->model()->index(1, 1));
             list->clearSelection();
             ASSERT_TRUE(list->hasFocus());
             const QColor base = list->palette().color(QPalette::Base);
             const QRect first = list->visualRect(list->model()->index(1, 0));
             const QRect second = list->visualRect(list->model()->index(1, 1));
             width = second.right() - first.left();
             // Marks along the row's top edge, over both cells; and a line down the edge
             // between the cells, where a box around Qt's one current cell would be.
             auto marks = [&](const QImage& image) {
                 int n = 0;
                 for (int x = first.left() + 2; x < second.right() - 2; ++x) {
                     n += image.pixelColor(x, first.top()) != base;
                 }
                 return n;
             };
             const QImage image = list->viewport()->grab().toImage();
             top = marks(image);
             between = 0;
             for (int y = second.top() + 2; y < second.bottom() - 2; ++y) {
                 between +=
                     image.pixelColor(second.left(), y) != image.pixelColor(second.left() + 2, y);
             }
             d.Widget(kEdit)->setFocus();
             unfocused = marks(list->viewport()->grab().toImage());
         },
         ClickOk});
    EXPECT_GT(top, width / 3);
    EXPECT_EQ(between, 0);
    EXPECT_EQ(unfocused, 0);
}

TEST_F(QtHostTest, TabIntoAListGivesNoRowTheFocusAndHomeAndEndGoToTheFirstAndLastRow) {
    std::vector<int> focused;
    std::vector<bool> selectedLast;
    std::vector<bool> ticked;
    auto look = [&](CProbeDlg& d) {
        int row = -1;
        for (size_t r = 0; r < d.Control(kList).rows.size(); ++r) {
            if ((d.Control(kList).rows[r].state & LVIS_FOCUSED) != 0) {
                row = static_cast<int>(r);
            }
        }
        focused.push_back(row);
        selectedLast.push_back((d.Control(kList).rows.back().state & LVIS_SELECTED) != 0);
        ticked = {d.Control(kList).rows[0].checked, d.Control(kList).rows[2].checked};
    };
    Run({[](CProbeDlg& d) {
             CListCtrl list(&d, kList);
             list.InsertItem(2, "2");
             auto* widget = static_cast<QTableWidget*>(d.Widget(kList));
             widget->setFocus(Qt::TabFocusReason);
             QTest::keyClick(widget, Qt::Key_Space);  // no row to tick
         },
         look, [](CProbeDlg& d) { QTest::keyClick(d.Widget(kList), Qt::Key_Down); }, look,
         [](CProbeDlg& d) { QTest::keyClick(d.Widget(kList), Qt::Key_End); }, look,
         [](CProbeDlg& d) { QTest::keyClick(d.Widget(kList), Qt::Key_Home); }, look,
         [](CProbeDlg& d) {
             // Ctrl moves the focus alone; Space then ticks and selects the row one sees it on.
             QTest::keyClick(d.Widget(kList), Qt::Key_End, Qt::ControlModifier);
             QTest::keyClick(d.Widget(kList), Qt::Key_Space);
         },
         look, ClickOk});
    EXPECT_EQ(focused, (std::vector<int>{-1, 0, 2, 0, 2}));
    EXPECT_EQ(selectedLast, (std::vector<bool>{false, false, true, false, true}));
    // Row 0 as it was, since Space at first had no row to tick; row 2 ticked at the end.
    EXPECT_EQ(ticked, (std::vector<bool>{true, true}));
}

TEST_F(QtHostTest, AMessageBoxOpenedByAMouseClickTakesTheFirstKey) {
    // The keyboard goes to the window that has the focus, as from a real keyboard: the box that
    // the click opened, not the window under it that the box blocks. The user's key comes once
    // the display has told Qt of the box, hence the events served first.
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        std::vector<bool> closedByKey;
        m_host.SetBoxHandler([&closedByKey, key](QDialog& box) {
            QCoreApplication::processEvents();
            QWindow* focus = QGuiApplication::focusWindow();
            if (focus != nullptr) {
                QTest::keyClick(focus, key);
            }
            QCoreApplication::processEvents();
            closedByKey.push_back(!box.isVisible());
            if (box.isVisible()) {
                box.reject();
            }
        });
        CProbeDlg* dlg = nullptr;
        const intptr_t result = Run({[](CProbeDlg& d) {
                                         d.boxOnPlain = true;
                                         QTest::mouseClick(d.Widget(kPlain), Qt::LeftButton);
                                     },
                                     ClickOk},
                                    &dlg);
        m_host.SetBoxHandler(nullptr);
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(closedByKey, (std::vector<bool>{true})) << key;
        EXPECT_EQ(dlg->commands, (std::vector<int>{kPlain, IDOK}));
    }
}

TEST_F(QtHostTest, AScreenReadersPressIsAClickOfTheButtonOrCheckBox) {
    CProbeDlg* dlg = nullptr;
    std::vector<QStringList> actions;
    auto press = [](QWidget* widget, const QString& action) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        ASSERT_NE(accessible->actionInterface(), nullptr);
        accessible->actionInterface()->doAction(action);
    };
    Run({[&](CProbeDlg& d) {
             for (int id : {kGo, kBox, kEdit}) {
                 QAccessibleInterface* accessible =
                     QAccessible::queryAccessibleInterface(d.Widget(id));
                 actions.push_back(accessible->actionInterface() != nullptr
                                       ? accessible->actionInterface()->actionNames()
                                       : QStringList());
             }
             press(d.Widget(kGo), QAccessibleActionInterface::pressAction());
             press(d.Widget(kBox), QAccessibleActionInterface::toggleAction());
         },
         [&](CProbeDlg& d) {
             EXPECT_EQ(d.Control(kBox).check, 1);
             EXPECT_TRUE(static_cast<QCheckBox*>(d.Widget(kBox))->isChecked());
             EXPECT_EQ(
                 QAccessible::queryAccessibleInterface(d.Widget(kGo))->text(QAccessible::Name),
                 "Go");
             EXPECT_TRUE(QAccessible::queryAccessibleInterface(d.Widget(kBox))->state().checked);
             // A grey button offers no press, and one asked for anyway does nothing.
             d.GetDlgItem(kPlain).EnableWindow(false);
             EXPECT_FALSE(QAccessible::queryAccessibleInterface(d.Widget(kPlain))
                              ->actionInterface()
                              ->actionNames()
                              .contains(QAccessibleActionInterface::pressAction()));
             press(d.Widget(kPlain), QAccessibleActionInterface::pressAction());
         },
         [&](CProbeDlg& d) { press(d.Widget(IDOK), QAccessibleActionInterface::pressAction()); }},
        &dlg);
    EXPECT_EQ(dlg->commands, (std::vector<int>{kGo, kBox, IDOK}));
    // The pre-filter saw each press as the button's own down and up.
    ASSERT_GE(dlg->messages.size(), 2u);
    EXPECT_EQ(dlg->messages[0].kind, Message::LButtonDown);
    EXPECT_EQ(dlg->messages[0].targetId, kGo);
    EXPECT_EQ(dlg->messages[1].kind, Message::LButtonUp);
    ASSERT_EQ(actions.size(), 3u);
    EXPECT_TRUE(actions[0].contains(QAccessibleActionInterface::pressAction()));
    EXPECT_TRUE(actions[1].contains(QAccessibleActionInterface::toggleAction()));
    EXPECT_TRUE(actions[1].contains(QAccessibleActionInterface::pressAction()));
    EXPECT_FALSE(actions[2].contains(QAccessibleActionInterface::pressAction()));
}

TEST_F(QtHostTest, TabMovesTheFocusAsTheDialogLayerSaysAndTheWindowShowsWhereItIs) {
    std::vector<int> dialog;
    std::vector<int> shown;
    QImage plain;
    QImage focused;
    QImage listPlain;
    QImage listFocused;
    auto look = [&](CProbeDlg& d) {
        dialog.push_back(d.GetFocus());
        shown.push_back(d.FocusOnScreen());
    };
    auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return [k, modifiers](CProbeDlg& d) {
            QTest::keyClick(d.Window()->focusWidget(), k, modifiers);
        };
    };
    Run({[&](CProbeDlg& d) {
             plain = d.Widget(kGo)->grab().toImage();
             listPlain = d.Widget(kList)->grab().toImage();
         },
         look, key(Qt::Key_Tab), look, key(Qt::Key_Tab), look,
         [&](CProbeDlg& d) {
             focused = d.Widget(kGo)->grab().toImage();
             // Once keys move the focus, the window draws where it is.
             EXPECT_TRUE(d.Window()->testAttribute(Qt::WA_KeyboardFocusChange));
         },
         key(Qt::Key_Right), look,
         // A list with no row of its own yet still shows that it has the keys.
         [&](CProbeDlg& d) { listFocused = d.Widget(kList)->grab().toImage(); },
         key(Qt::Key_Tab, Qt::ShiftModifier), look, key(Qt::Key_Backtab), look,
         key(Qt::Key_Backtab), look, ClickOk});
    // Edit, box, Go; Right on Go goes on in its group to the list; back to Go, box, edit.
    EXPECT_EQ(dialog, (std::vector<int>{kEdit, kBox, kGo, kList, kGo, kBox, kEdit}));
    EXPECT_EQ(shown, dialog);
    EXPECT_NE(plain, focused) << "the button with the focus looks as it did without it";
    EXPECT_NE(listPlain, listFocused) << "the list with the focus looks as it did without it";
}

TEST_F(QtHostTest, AnAssistiveTechnologyReadsTheFieldsAndSetsTheirText) {
    Run({[](CProbeDlg& d) {
             QAccessibleInterface* edit = QAccessible::queryAccessibleInterface(d.Widget(kEdit));
             ASSERT_NE(edit->editableTextInterface(), nullptr);
             edit->editableTextInterface()->replaceText(0, 0, QStringLiteral("1920"));
             // A read-only field is text that is read only, with nothing to edit.
             QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(d.Widget(kShown));
             EXPECT_TRUE(shown->state().readOnly);
             EXPECT_FALSE(shown->state().editable);
             EXPECT_EQ(shown->editableTextInterface(), nullptr);
             d.SetDlgItemText(kShown, "1080");
             ASSERT_NE(shown->textInterface(), nullptr);
             EXPECT_EQ(shown->textInterface()->text(0, -1), "1080");
             // A combo box gives its item as its text, and no item as its name.
             QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(d.Widget(kCombo));
             EXPECT_EQ(combo->role(), QAccessible::ComboBox);
             EXPECT_EQ(combo->text(QAccessible::Name), "");
             ASSERT_NE(combo->textInterface(), nullptr);
             EXPECT_EQ(combo->textInterface()->text(0, -1), "a");
             EXPECT_EQ(combo->text(QAccessible::Value), "a");
         },
         [](CProbeDlg& d) {
             EXPECT_EQ(d.GetDlgItemText(kEdit), "1920");
             ClickOk(d);
         }});
}

TEST_F(QtHostTest, AReadOnlyEditIsDrawnOnTheDialogsFaceNotAsAWhiteField) {
    QColor readOnly;
    QColor editable;
    QColor face;
    Run({[&](CProbeDlg& d) {
             auto* shown = static_cast<QLineEdit*>(d.Widget(kShown));
             EXPECT_TRUE(shown->isReadOnly());
             const QImage a = shown->grab().toImage();
             const QImage b = d.Widget(kEdit)->grab().toImage();
             readOnly = a.pixelColor(a.width() / 2, a.height() / 2);
             editable = b.pixelColor(b.width() / 2, b.height() / 2);
             face = d.Window()->palette().color(QPalette::Window);
         },
         ClickOk});
    EXPECT_EQ(readOnly, face);
    EXPECT_NE(editable, face);
}

TEST_F(QtHostTest, AnIconIsShownAtItsOwnSizeFromTheCornerOfItsRectangle) {
    QRect place;
    QSize image;
    QPoint corner;
    Run({[&](CProbeDlg& d) {
             for (auto* label : d.Window()->findChildren<QLabel*>()) {
                 if (!label->pixmap().isNull()) {
                     place = label->geometry();
                     image = label->pixmap().deviceIndependentSize().toSize();
                 }
             }
             // The icon's corner is at the template's (140, 30): OK's left, the check box's top.
             corner = QPoint(d.Widget(IDOK)->x(), d.Widget(kBox)->y());
         },
         ClickOk});
    EXPECT_EQ(image, QSize(32, 32));
    EXPECT_EQ(place, QRect(corner, QSize(32, 32)));
}

// Premultiplied, so that transparent pixels compare equal whatever colour they were given.
QImage Argb(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
QImage Argb(const QPixmap& pixmap) {
    return Argb(pixmap.toImage());
}

QImage LabelImage(CProbeDlg& d) {
    for (auto* label : d.Window()->findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            return Argb(label->pixmap());
        }
    }
    return {};
}

// An icon the program gave no images for is the style's own computer icon; the About box draws
// it from the style's 32 px computer image, never from the 16 px one blown up.
TEST_F(QtHostTest, AnIconWithoutImagesIsTheStylesComputerIconAtItsOwnSize) {
    const QIcon style = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    EXPECT_EQ(Argb(ui::qt::ComputerIcon().pixmap(16, 16)), Argb(style.pixmap(16, 16)));
    // The style's icon itself holds the 16 px image only; its 32 px image is beside it.
    const QImage big =
        Argb(QImage(QStringLiteral(":/qt-project.org/styles/commonstyle/images/computer-32.png")));
    ASSERT_EQ(big.size(), QSize(32, 32));
    QImage shown;
    Run({[&](CProbeDlg& d) { shown = LabelImage(d); }, ClickOk});
    EXPECT_EQ(shown, big);
    EXPECT_EQ(Argb(ui::qt::ComputerIcon().pixmap(32, 32)), big);
}

// The images the program gives for its icon are what the window and the About box show, each
// size as it was drawn: a screen of twice the pixel density gets the image of twice the size.
TEST_F(QtHostTest, TheProgramsIconImagesAreShownAtTheirOwnSizes) {
    QIcon icon;
    std::map<int, QImage> drawn;
    for (const auto& [size, colour] : {std::pair{16, Qt::red}, {32, Qt::green}, {64, Qt::blue}}) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(colour);
        drawn[size] = Argb(image);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    ui::qt::SetResourceIcon(128, icon);
    QImage shown;
    QIcon windowIcon;
    Run({[&](CProbeDlg& d) {
             d.SetIcon(128, true);
             d.SetIcon(128, false);
             shown = LabelImage(d);
             windowIcon = d.Window()->windowIcon();
         },
         ClickOk});
    ui::qt::SetResourceIcon(128, QIcon());
    EXPECT_EQ(shown, drawn[32]);
    EXPECT_EQ(Argb(windowIcon.pixmap(QSize(16, 16), 1.0)), drawn[16]);
    EXPECT_EQ(Argb(windowIcon.pixmap(QSize(16, 16), 2.0)), drawn[32]);
    EXPECT_EQ(Argb(windowIcon.pixmap(QSize(32, 32), 2.0)), drawn[64]);
    // Given no images again, the window falls back to the computer icon.
    EXPECT_EQ(Argb(ui::qt::ResourceIcon(128).pixmap(16, 16)),
              Argb(ui::qt::ComputerIcon().pixmap(16, 16)));
}

// The editable box is Qt's own editable box (its list drawn and scrolled alike) without the
// completer, which would fill in an item the user did not type.
TEST_F(QtHostTest, AnEditableComboBoxIsQtsOwnWithoutCompletion) {
    QComboBox reference;
    reference.setEditable(true);
    const QByteArray delegate = reference.itemDelegate()->metaObject()->className();
    QString shown;
    Run({[](CProbeDlg& d) { CComboBox(&d, kCombo).AddString("abc"); },
         [&](CProbeDlg& d) {
             auto* box = static_cast<QComboBox*>(d.Widget(kCombo));
             EXPECT_EQ(box->completer(), nullptr);
             EXPECT_EQ(box->lineEdit()->completer(), nullptr);
             EXPECT_EQ(QByteArray(box->itemDelegate()->metaObject()->className()), delegate);
             EXPECT_EQ(box->view()->verticalScrollBarPolicy(),
                       reference.view()->verticalScrollBarPolicy());
             EXPECT_EQ(box->focusPolicy(), reference.focusPolicy());
             EXPECT_TRUE(box->testAttribute(Qt::WA_InputMethodEnabled));
             box->lineEdit()->clear();
             box->lineEdit()->setFocus();
             QTest::keyClicks(box->lineEdit(), "ab");
         },
         [&shown](CProbeDlg& d) {
             shown = static_cast<QComboBox*>(d.Widget(kCombo))->lineEdit()->text();
         },
         ClickOk});
    EXPECT_EQ(shown, "ab");
}

TEST_F(QtHostTest, EnterIsOkWhileEscapeAndTheCloseButtonCancel) {
    EXPECT_EQ(Run({[](CProbeDlg& d) { QTest::keyClick(d.Widget(kEdit), Qt::Key_Return); }}), IDOK);
    EXPECT_EQ(Run({[](CProbeDlg& d) { QTest::keyClick(d.Widget(kEdit), Qt::Key_Escape); }}),
              IDCANCEL);
    CProbeDlg* dlg = nullptr;
    EXPECT_EQ(Run({[](CProbeDlg& d) { d.Window()->close(); }}, &dlg), IDCANCEL);
    EXPECT_EQ(dlg->commands, (std::vector<int>{IDCANCEL}));
}

TEST_F(QtHostTest, TheDesktopMinimisingAndRestoringReachesTheDialog) {
    std::vector<bool> iconic;
    Run({[](CProbeDlg& d) { d.Window()->showMinimized(); },
         [&iconic](CProbeDlg& d) {
             iconic.push_back(d.IsIconic());
             d.Window()->showNormal();
         },
         [&iconic](CProbeDlg& d) { iconic.push_back(d.IsIconic()); }, ClickOk});
    EXPECT_EQ(iconic, (std::vector<bool>{true, false}));
}

TEST_F(QtHostTest, QuittingEndsTheLoopWithCancel) {
    EXPECT_EQ(Run({[](CProbeDlg&) { Quit(3); }}), IDCANCEL);
    EXPECT_EQ(ExitCode(), 3);
}

// A clock on which the user acts while the program waits: each sleep runs what the user does
// then, and notes the cursor the program showed.
class CBusyClock : public platform::IClock {
  public:
    uint64_t NowMs() override { return m_now; }
    void Sleep(uint32_t ms) override {
        m_now += ms;
        const QCursor* cursor = QApplication::overrideCursor();
        cursors.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
        if (during) {
            during();
        }
    }
    std::function<void()> during;
    std::vector<Qt::CursorShape> cursors;

  private:
    uint64_t m_now = 0;
};

class QtHostWaitTest : public QtHostTest {
  protected:
    void SetUp() override {
        QtHostTest::SetUp();
        platform::SetClock(&m_clock);
        platform::SetWaitHandler(&m_host);
    }
    void TearDown() override {
        platform::SetWaitHandler(nullptr);
        platform::SetClock(nullptr);
        QtHostTest::TearDown();
    }
    CBusyClock m_clock;
};

TEST_F(QtHostWaitTest, ClicksDuringAWaitAreServedInOrderOnceItEndsUnderTheWaitCursor) {
    CProbeDlg* dlg = nullptr;
    m_clock.during = [&dlg] {
        QTest::mouseClick(dlg->Widget(kPlain), Qt::LeftButton);
        QTest::mouseClick(dlg->Widget(IDOK), Qt::LeftButton);
    };
    const intptr_t result =
        Run({[](CProbeDlg& d) { QTest::mouseClick(d.Widget(kGo), Qt::LeftButton); }}, &dlg, 1000);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg->commands, (std::vector<int>{kGo, kPlain, IDOK}));
    // Neither click reached the program while it was still waiting.
    EXPECT_EQ(dlg->servedAfterWait, (std::vector<bool>{true, true}));
    EXPECT_EQ(m_clock.cursors, (std::vector<Qt::CursorShape>{Qt::WaitCursor}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtHostWaitTest, TheEndOfAWaitWakesTheLoopForInputHeldBack) {
    // Whatever Qt held back while the program waited is looked at at once, not with the next
    // event from outside: a loop that waits for events right after the wait returns.
    bool watchdog = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&watchdog] { watchdog = true; });
    timer.start(5000);
    m_host.Wait(m_clock, 10);
    QAbstractEventDispatcher::instance()->processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_FALSE(watchdog);
}

TEST_F(QtHostTest, EnterAfterTheFocusedControlGoesGreyPressesNoOtherButton) {
    // As the device box at Lock: the focused control is disabled by the handler of a click.
    CProbeDlg* dlg = nullptr;
    int focusOnScreen = -1;
    Run({[](CProbeDlg& d) {
             d.Widget(kEdit)->setFocus();
             d.SetFocus(kEdit);
             d.GetDlgItem(kEdit).EnableWindow(false);
         },
         [&focusOnScreen](CProbeDlg& d) {
             QWidget* focus = d.Window()->focusWidget();
             focusOnScreen = focus != nullptr ? d.Window() == focus ? 0 : -2 : -3;
             QTest::keyClick(focus != nullptr ? focus : d.Window(), Qt::Key_Return);
         },
         ClickOk},
        &dlg);
    EXPECT_EQ(focusOnScreen, 0);
    // Enter went to the window, whose default action is OK; no button next to the edit got it.
    EXPECT_EQ(dlg->commands, (std::vector<int>{IDOK}));
}

TEST_F(QtHostTest, TheItemsTheProgramAddsToTheSystemMenuAreInTheHelpMenuOfAMenuBar) {
    // A window manager's own window menu does not have them; a Linux user looks in Help.
    CProbeDlg::withAboutItem = true;
    CProbeDlg* dlg = nullptr;
    QString shown;
    Run({[&shown](CProbeDlg& d) {
             auto* bar = d.Window()->findChild<QMenuBar*>();
             ASSERT_NE(bar, nullptr);
             QAction* help = bar->actions().value(0);
             ASSERT_NE(help, nullptr);
             EXPECT_EQ(help->text(), "&Help");
             QAction* about = help->menu()->actions().value(0);
             ASSERT_NE(about, nullptr);
             shown = about->text();
             // The controls sit under the bar, as the template places them under the caption.
             EXPECT_GE(d.Widget(kEdit)->y(), bar->height());
             about->trigger();
         },
         ClickOk},
        &dlg);
    CProbeDlg::withAboutItem = false;
    EXPECT_EQ(shown, QString::fromUtf8("\xE9\x97\x9C\xE6\x96\xBC Vuvereze(&A)..."));
    EXPECT_EQ(dlg->sysCommands, (std::vector<uint32_t>{16}));
}

// A window opened by a handler of the modal one stands beside it: both take the user's clicks
// while the modal loop goes on, and a modal window opened later blocks both.
TEST_F(QtHostTest, AModelessWindowTakesClicksBesideTheModalOneThatOpenedIt) {
    CProbeDlg* dlg = nullptr;
    std::unique_ptr<CProbeDlg> tool;
    bool modal = true;
    bool blockedUnderBox = false;
    Run({[&](CProbeDlg& d) {
             tool = std::make_unique<CProbeDlg>(m_host, std::vector<CProbeDlg::Step>{}, &d);
             ASSERT_TRUE(tool->CreateModeless());
             modal = tool->Window()->isModal();
             EXPECT_EQ(ActiveWindow(), tool.get());
         },
         [&](CProbeDlg&) { QTest::mouseClick(tool->Widget(kGo), Qt::LeftButton); },
         [&](CProbeDlg& d) { QTest::mouseClick(d.Widget(kPlain), Qt::LeftButton); },
         [&](CProbeDlg& d) {
             EXPECT_EQ(ActiveWindow(), &d) << "the press on it turned the user to it";
             d.boxOnPlain = true;
             QTimer::singleShot(0, [&] {
                 blockedUnderBox = QApplication::activeModalWidget() != nullptr &&
                                   QApplication::activeModalWidget() != tool->Window();
                 if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                     box->accept();
             });
             QTest::mouseClick(d.Widget(kPlain), Qt::LeftButton);
         },
         ClickOk},
        &dlg);
    EXPECT_FALSE(modal);
    EXPECT_TRUE(blockedUnderBox);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->commands, (std::vector<int>{kGo}));
    EXPECT_EQ(dlg->commands, (std::vector<int>{kPlain, kPlain, IDOK}));
    // The end of the modal run closed it.
    EXPECT_FALSE(tool->IsCreated());
}

TEST_F(QtHostTest, AGreySystemMenuItemIsGreyInTheHelpMenuToo) {
    CProbeDlg::withAboutItem = true;
    std::vector<bool> enabled;
    Run({[&](CProbeDlg& d) {
             d.EnableSystemMenuItem(16, false);
             QAction* about =
                 d.Window()->findChild<QMenuBar*>()->actions()[0]->menu()->actions()[0];
             enabled.push_back(about->isEnabled());
             d.EnableSystemMenuItem(16, true);
             enabled.push_back(about->isEnabled());
         },
         ClickOk});
    CProbeDlg::withAboutItem = false;
    EXPECT_EQ(enabled, (std::vector<bool>{false, true}));
}

// The menu bar's overflow button, which shows when the menus do not fit, has the style's own
// icon in every size, though the icon is read only when asked for; and the application's style
// is still the one that draws.
TEST_F(QtHostTest, TheMenuBarsOverflowButtonHasTheStylesOwnIcon) {
    CProbeDlg::withAboutItem = true;
    std::vector<QImage> shown, expected;
    QStyle* base = nullptr;
    Run({[&](CProbeDlg& d) {
             auto* proxy = qobject_cast<QProxyStyle*>(QApplication::style());
             ASSERT_NE(proxy, nullptr);
             base = proxy->baseStyle();
             auto* button =
                 d.Window()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
             ASSERT_NE(button, nullptr);
             const QIcon icon = button->icon();
             EXPECT_FALSE(icon.isNull());
             const QIcon own = base->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton,
                                                  nullptr, d.Window());
             ASSERT_FALSE(own.availableSizes().isEmpty());
             EXPECT_EQ(icon.availableSizes(), own.availableSizes());
             for (const QSize& size : own.availableSizes()) {
                 for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                     shown.push_back(icon.pixmap(size, mode).toImage());
                     expected.push_back(own.pixmap(size, mode).toImage());
                 }
             }
         },
         ClickOk});
    CProbeDlg::withAboutItem = false;
    ASSERT_NE(base, nullptr);
    EXPECT_FALSE(base->name().isEmpty());  // the style the factory made, not a bare one
    EXPECT_EQ(shown, expected);
}

TEST(QtNameFilters, TheWindowsFilterBecomesQtFiltersWithTheirOwnPatterns) {
    EXPECT_EQ(QtNameFilters("Text File(*.bin)| *.bin| All Files(*.*)| *.*||"),
              (std::vector<std::string>{"Text File (*.bin)", "All Files (*)"}));
    EXPECT_EQ(QtNameFilters("Tables|*.bin;*.dat||"),
              (std::vector<std::string>{"Tables (*.bin *.dat)"}));
    EXPECT_TRUE(QtNameFilters("").empty());
    EXPECT_TRUE(QtNameFilters("Unfinished|").empty());
}

}  // namespace
