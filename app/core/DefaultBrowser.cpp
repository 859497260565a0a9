#include "DefaultBrowser.h"

#include "ConfirmScript.h"
#include "LaunchServices.h"
#include "platform/HandlerService.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace Tolvane {
namespace {

QString failureReason(int status) {
    switch (status) {
    case platform::HandlerService::applicationNotFound:
        return QCoreApplication::translate("Tolvane::DefaultBrowser", "The browser is no longer installed.");
    case platform::HandlerService::writeFailed:
        return QCoreApplication::translate(
            "Tolvane::DefaultBrowser", "The desktop's list of default applications could not be written.");
    case platform::HandlerService::verifyFailed:
        return QCoreApplication::translate("Tolvane::DefaultBrowser",
                                           "The desktop still reports another default browser.");
    default:
        return QCoreApplication::translate("Tolvane::DefaultBrowser", "The desktop refused the change.");
    }
}

} // namespace

QString DefaultBrowser::id() const {
    return bundleId + ':' + appVersion + ':' + url.toString(QUrl::FullyEncoded);
}

void DefaultBrowser::setAsDefault(bool autoConfirm) const {
    const int status = platform::get<platform::HandlerService>()->setDefaultHandlerForURLScheme(
        QStringLiteral("http"), bundleId);
    if (status != platform::HandlerService::noErr)
        throw LaunchServices::Error(failureReason(status));
    if (autoConfirm)
        QThreadPool::globalInstance()->start([] { runConfirmScript(); });
}

bool operator==(const DefaultBrowser& a, const DefaultBrowser& b) {
    // Icons compare by identity, as shared image objects do.
    return a.bundleId == b.bundleId && a.appName == b.appName && a.appVersion == b.appVersion &&
           a.appIcon.cacheKey() == b.appIcon.cacheKey() && a.url == b.url;
}

} // namespace Tolvane
