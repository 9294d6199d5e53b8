#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <functional>

namespace sw::test {

// Runs the event loop until the condition holds or the time is up.
inline bool waitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

// Until the window is shown and the display has drawn it.
inline bool waitForExposed(const QWidget* window) {
    return waitFor([window] { return window->isVisible() && window->windowHandle()->isExposed(); });
}

} // namespace sw::test
