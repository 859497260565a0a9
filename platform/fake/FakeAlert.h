// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Alert.h"

#include <QList>

#include <functional>

namespace platform::fake {

// Answers alerts for the tests; `onShow` runs while the "modal" alert is up.
class FakeAlert : public Alert {
public:
    QList<AlertRequest> shown;
    QList<int> answers; // consumed in order; 0 when exhausted
    std::function<void(const AlertRequest&)> onShow;

    int runModal(const AlertRequest& request) override {
        shown << request;
        if (onShow)
            onShow(request);
        return answers.isEmpty() ? 0 : answers.takeFirst();
    }
};

} // namespace platform::fake
