// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HandlerService.h"

#include <QList>
#include <QMutex>
#include <QPair>

namespace platform::fake {

class FakeHandlerService : public HandlerService {
public:
    int status = noErr;
    QList<QPair<QString, QString>> calls; // (scheme, bundleId)
    std::optional<QString> current;       // what defaultHandlerForURLScheme answers

    int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) override {
        QMutexLocker lock(&mutex);
        calls.append({scheme, bundleId});
        return status;
    }
    std::optional<QString> defaultHandlerForURLScheme(const QString&) override {
        QMutexLocker lock(&mutex);
        return current;
    }
    qsizetype callCount() {
        QMutexLocker lock(&mutex);
        return calls.size();
    }

    QMutex mutex;
};

} // namespace platform::fake
