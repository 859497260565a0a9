// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceWait.h"

#include <QDeadlineTimer>

bool waitForService(const std::function<bool()>& ready, QProcess& process, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!ready()) {
        // It may have done its part on its way out.
        if (process.state() == QProcess::NotRunning || process.waitForFinished(50))
            return ready();
        if (deadline.hasExpired())
            return false;
    }
    return true;
}
