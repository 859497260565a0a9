// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefaultBrowser.h"

#include "ConfirmScript.h"
#include "LaunchServices.h"
#include "platform/HandlerService.h"
#include "platform/Services.h"

#include <QThreadPool>

namespace Tolvane {

QString DefaultBrowser::id() const {
    return bundleId + ':' + appVersion + ':' + url.toString(QUrl::FullyEncoded);
}

void DefaultBrowser::setAsDefault(bool autoConfirm) const {
    const auto handlers = platform::get<platform::HandlerService>();
    const int status = handlers->setDefaultHandlerForURLScheme(QStringLiteral("http"), bundleId, url);
    if (status != platform::HandlerService::noErr)
        throw LaunchServices::Error(status, appName, handlers->failureReason());
    if (autoConfirm)
        QThreadPool::globalInstance()->start([] { runConfirmScript(); });
}

bool operator==(const DefaultBrowser& a, const DefaultBrowser& b) {
    return a.bundleId == b.bundleId && a.appName == b.appName && a.appVersion == b.appVersion &&
           a.appIcon == b.appIcon && a.url == b.url;
}

} // namespace Tolvane
