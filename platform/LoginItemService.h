// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace platform {

// Registration of the main application as a login item.
class LoginItemService {
public:
    // The service's own numbering; only `enabled` means the application starts at login.
    enum class Status { notRegistered = 0, enabled = 1, requiresApproval = 2, notFound = 3 };

    struct Error {
        QString localizedDescription;
    };

    virtual ~LoginItemService() = default;
    virtual Status status() = 0;
    // Each returns the failure, or nothing on success.
    virtual std::optional<Error> registerItem() = 0;
    virtual std::optional<Error> unregisterItem() = 0;
    // Whether this process was started by the login-item mechanism.
    virtual bool launchedAsLoginItem() = 0;
};

} // namespace platform
