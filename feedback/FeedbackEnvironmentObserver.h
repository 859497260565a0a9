// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>

namespace Tellwick {

// The attributes describing the sender's environment that go along with a feedback message.
class FeedbackEnvironmentObserver {
public:
    // "app version", "app build", "os", "system", "model", "twk.v". Needs the SystemInfo port installed.
    QMap<QString, QString> environmentValues() const;
    static QString hardwareModel();
};

} // namespace Tellwick
