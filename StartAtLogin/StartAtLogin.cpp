// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartAtLogin.h"

#include "Observable.h"
#include "platform/LoginItemService.h"
#include "platform/Services.h"

#include <QLoggingCategory>

namespace StartAtLogin {

namespace {

Q_LOGGING_CATEGORY(lcMain, "com.quellmark.StartAtLogin.main")

using platform::LoginItemService;

void logFailure(const char* action, const LoginItemService::Error& error) {
    qCCritical(lcMain, "Failed to %s launch at login: %s", action,
               qUtf8Printable(error.localizedDescription));
}

} // namespace

bool isLoginItemEnabled() {
    return platform::get<LoginItemService>()->status() == LoginItemService::Status::enabled;
}

void setLoginItemEnabled(bool enabled) {
    emit sharedObservable().objectWillChange();
    auto service = platform::get<LoginItemService>();
    if (enabled) {
        // Registering again refreshes a stale entry (the binary may have moved since).
        if (service->status() == LoginItemService::Status::enabled)
            (void)service->unregisterItem();
        if (const auto error = service->registerItem())
            logFailure("enable", *error);
    } else if (const auto error = service->unregisterItem()) {
        logFailure("disable", *error);
    }
}

Observable& sharedObservable() {
    // Never freed: switches may still point at it while the process shuts down.
    static Observable* const shared = new Observable;
    return *shared;
}

bool launchedAsLoginItem() {
    return platform::get<LoginItemService>()->launchedAsLoginItem();
}

} // namespace StartAtLogin
