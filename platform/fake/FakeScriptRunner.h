// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ScriptRunner.h"

#include <QMutex>
#include <QStringList>
#include <QWaitCondition>

namespace platform::fake {

class FakeScriptRunner : public ScriptRunner {
public:
    Outcome outcome;

    Outcome run(const QString& source) override {
        QMutexLocker lock(&mutex);
        sources << source;
        ran.wakeAll();
        return outcome;
    }
    // Waits until `count` runs happened or the timeout passed; returns the number of runs.
    qsizetype waitForRuns(qsizetype count, int timeoutMs = 5000) {
        QMutexLocker lock(&mutex);
        while (sources.size() < count)
            if (!ran.wait(&mutex, timeoutMs))
                break;
        return sources.size();
    }

    QStringList sources;
    QMutex mutex;
    QWaitCondition ran;
};

} // namespace platform::fake
