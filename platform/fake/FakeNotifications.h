// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Notifications.h"

#include <QList>
#include <QPair>

namespace platform::fake {

// Keeps every notification as (summary, body) for the tests to read.
class FakeNotifications : public Notifications {
public:
    QList<QPair<QString, QString>> shown;

    bool notify(const QString& summary, const QString& body) override {
        shown << qMakePair(summary, body);
        return true;
    }
};

} // namespace platform::fake
