// The desktop program and the device command on one machine, as two separate programs: the
// program runs its own start-up on Qt's offscreen screen over a virtual system of its own and is
// driven by the mouse events a user makes; while its window is locked, the real vuvereze-device
// puts another table in place. The window's next Apply must ask before it writes, and "No" must
// leave the roll-out in place.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "hosts/qt/Program.h"
#include "ui/Dialog.h"

namespace desktop {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QDialog* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog->isVisible() && dialog->windowTitle() == "Zeriveve")
            return dialog;
    }
    return nullptr;
}

QPushButton* Button(QWidget* window, const QString& text) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->text() == text && button->isVisible() && button->isEnabled())
            return button;
    }
    return nullptr;
}

QMessageBox* ShownBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box != nullptr && box->isVisible())
            return box;
    }
    return nullptr;
}

// The user and the other program, as steps each waiting for what the screen shows; one poll
// every 20 ms from inside the program's own loops.
class CStory {
  public:
    CStory(QString system, QString command) : m_system(std::move(system)), m_command(command) {
        m_table = m_system + "/Windows/System32/format.bin";
        m_rollOut = m_system + "/../rollout.bin";
    }

    void Start() {
        m_clock.start();
        m_poll.setInterval(20);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Poll(); });
        m_poll.start();
    }

    std::vector<std::string> problems;
    QString question;
    QByteArray rollOut;

  private:
    void Fail(const std::string& what) {
        problems.push_back(what);
        m_poll.stop();
        if (QMessageBox* box = ShownBox())
            box->reject();
        ui::Quit(1);
    }

    void Poll() {
        if (m_clock.elapsed() > 30000)
            return Fail("the story did not finish within 30 s, at step " + std::to_string(m_step));
        QDialog* window = MainWindow();
        if (window == nullptr)
            return;
        switch (m_step) {
            case 0:  // the user locks the device the box shows
                if (QPushButton* lock = Button(window, "Lock")) {
                    QTest::mouseClick(lock, Qt::LeftButton);
                    ++m_step;
                }
                return;
            case 1:  // locked: the other program rolls a table out on this machine
                if (Button(window, "UnLock") != nullptr) {
                    RollOut(*window);
                    ++m_step;
                }
                return;
            case 2:  // the user applies
                if (QPushButton* apply = Button(window, "Apply")) {
                    QTest::mouseClick(apply, Qt::LeftButton);
                    ++m_step;
                }
                return;
            case 3:  // the question; the user keeps the other table
                if (QMessageBox* box = ShownBox()) {
                    question = box->text();
                    QAbstractButton* no = box->button(QMessageBox::No);
                    if (no == nullptr)
                        return Fail("the box has no No button: \"" + question.toStdString() + "\"");
                    QTest::mouseClick(no, Qt::LeftButton);
                    ++m_step;
                }
                return;
            case 4:  // and closes the window
                if (ShownBox() == nullptr) {
                    if (QPushButton* cancel = Button(window, "Cancel")) {
                        QTest::mouseClick(cancel, Qt::LeftButton);
                        ++m_step;
                        m_poll.stop();
                    }
                }
                return;
            default:
                return;
        }
    }

    // What a roll-out does: vuvereze-device apply with a table that differs from the one the
    // window read (its first format switched the other way).
    void RollOut(QDialog& window) {
        rollOut = ReadAll(m_table);
        if (rollOut.size() < 2 + 124)
            return Fail("the machine has no table to roll out over");
        rollOut[2 + 20] = rollOut[2 + 20] != 0 ? 0 : 1;
        if (!WriteAll(m_rollOut, rollOut))
            return Fail("cannot write the roll-out table");
        auto* box = window.findChild<QComboBox*>();
        const QString device = box != nullptr ? box->currentText() : QString();
        QProcess apply;
        apply.start(m_command, {"--system", m_system, "--json", "apply", device, m_rollOut});
        if (!apply.waitForFinished(20000) || apply.exitCode() != 0) {
            return Fail("vuvereze-device apply failed: " +
                        apply.readAllStandardError().toStdString());
        }
        if (!apply.readAllStandardOutput().contains("\"written\": true"))
            return Fail("vuvereze-device apply wrote nothing");
        if (ReadAll(m_table) != rollOut)
            return Fail("the roll-out is not in place");
    }

    QString m_system;
    QString m_command;
    QString m_table;
    QString m_rollOut;
    QTimer m_poll;
    QElapsedTimer m_clock;
    int m_step = 0;
};

TEST(TwoProgramsTest, ARollOutWhileTheWindowIsLockedIsAskedAboutAndKeptOnNo) {
    static int argc = 1;
    static char name[] = "vz_desktop_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr)
        new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString system = scratch.filePath("system");
    CStory story(system, VZ_DEVICE_COMMAND);
    QTimer::singleShot(0, [&story] { story.Start(); });
    ui::ResetQuit();
    // A new folder: the program makes the default machine with its table, as on first start.
    const int exitCode = RunProgram(system.toStdString());
    ui::ResetQuit();

    EXPECT_TRUE(story.problems.empty()) << story.problems.front();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(story.question.toStdString(), app::kMsgTableChangedElsewhere);
    EXPECT_FALSE(story.rollOut.isEmpty());
    EXPECT_EQ(ReadAll(system + "/Windows/System32/format.bin"), story.rollOut)
        << "the window wrote over the roll-out";
}

}  // namespace
}  // namespace desktop
