// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/LoginItemService.h"

#include <QStringList>

namespace platform::fake {

// A login-item service in memory, with states no Linux desktop has ("requires approval").
class FakeLoginItemService : public LoginItemService {
public:
    Status current = Status::notRegistered;
    std::optional<Error> registerError;
    std::optional<Error> unregisterError;
    bool launchedAtLogin = false;
    QStringList calls; // "status", "register", "unregister" in the order asked

    Status status() override {
        calls << "status";
        return current;
    }
    std::optional<Error> registerItem() override {
        calls << "register";
        if (registerError)
            return registerError;
        current = Status::enabled;
        return std::nullopt;
    }
    std::optional<Error> unregisterItem() override {
        calls << "unregister";
        if (unregisterError)
            return unregisterError;
        current = Status::notRegistered;
        return std::nullopt;
    }
    bool launchedAsLoginItem() override { return launchedAtLogin; }

    // The calls that change something, without the status reads.
    QStringList changes() const {
        QStringList result = calls;
        result.removeAll("status");
        return result;
    }
};

} // namespace platform::fake
