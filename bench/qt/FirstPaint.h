// The moment a program's first window is painted, told to the start-up benchmark, which counts
// from before the fork to that moment: what comes after (the teardown at exit) is not start-up.
// Shared by both programs the benchmark compares, so that both are ended alike.
#pragma once

#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "bench/qt/PaintReport.h"

namespace bench {

// Installed on the application: at the first paint of a window it posts itself an event, which
// Qt delivers only once the whole window (its children too) is painted and flushed; then the
// moment goes to the descriptor named by kFirstPaintFd (if any) and `quit` ends the program.
class CFirstPaint : public QObject {
  public:
    explicit CFirstPaint(std::function<void()> quit) : m_quit(std::move(quit)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_painted && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            m_painted = true;
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return false;
    }
    void customEvent(QEvent* /*event*/) override {
        Report(MonotonicNs());
        m_quit();
    }

  private:
    static void Report(long long ns) {
        const char* fd = std::getenv(kFirstPaintFd);
        if (fd == nullptr) {
            return;
        }
        char line[32];
        const int size = std::snprintf(line, sizeof line, "%lld\n", ns);
        if (size > 0 && write(std::atoi(fd), line, static_cast<size_t>(size)) != size) {
            std::perror("first paint");
        }
    }

    std::function<void()> m_quit;
    bool m_painted = false;
};

}  // namespace bench
