// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceIdleTimer.h"

#include <QGuiApplication>
#include <QThreadPool>
#include <QWindow>

#include <algorithm>

namespace Tolvane {
namespace {

bool anyWindowShown() {
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWindow* w) { return w->isVisible(); });
}

} // namespace

ServiceIdleTimer::ServiceIdleTimer(std::chrono::milliseconds quiet, QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setInterval(quiet);
    connect(&timer_, &QTimer::timeout, this, &ServiceIdleTimer::expired);
    timer_.start();
}

std::chrono::milliseconds ServiceIdleTimer::configuredQuietTime() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("TOLVANE_SERVICE_IDLE_MS", &ok);
    return ok && ms > 0 ? std::chrono::milliseconds(ms) : std::chrono::minutes(1);
}

void ServiceIdleTimer::restart() {
    timer_.start();
}

void ServiceIdleTimer::expired() {
    // A reply still on the pool or an alert on screen is use too.
    if (QThreadPool::globalInstance()->activeThreadCount() > 0 || anyWindowShown()) {
        timer_.start();
        return;
    }
    emit idle();
}

} // namespace Tolvane
