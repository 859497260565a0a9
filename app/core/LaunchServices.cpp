// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchServices.h"

#include "platform/HandlerService.h"

#include <QCoreApplication>

namespace Tolvane {
namespace {

QString withStop(const QString& text) {
    return text.endsWith('.') ? text : text + '.';
}

} // namespace

QString LaunchServices::Error::message() const {
    using platform::HandlerService;
    QString reason;
    switch (status_) {
    case HandlerService::applicationNotFound:
        reason = QStringLiteral("it is no longer installed where the desktop looks for applications");
        break;
    case HandlerService::writeFailed:
        reason = QStringLiteral("the default-application settings (mimeapps.list) could not be written; "
                                "nothing was changed");
        break;
    case HandlerService::verifyFailed:
        reason = QStringLiteral("the desktop still reads another default after the change, so it was undone");
        break;
    default:
        reason = QStringLiteral("the system refused the change (status %1)").arg(status_);
    }
    const QString name = browserName_.isEmpty() ? QStringLiteral("the browser") : browserName_;
    const QString sentence = QStringLiteral("Could not make %1 the default browser: %2.").arg(name, reason);
    // The system's own words name the file and what went wrong with it.
    return detail_.isEmpty() ? sentence : sentence + ' ' + withStop(detail_);
}

QString LaunchServices::Error::reason() const {
    using platform::HandlerService;
    QString sentence;
    switch (status_) {
    case HandlerService::applicationNotFound:
        sentence =
            QCoreApplication::translate("Tolvane::DefaultBrowser", "The browser is no longer installed.");
        break;
    case HandlerService::writeFailed:
        sentence = QCoreApplication::translate(
            "Tolvane::DefaultBrowser", "The desktop's list of default applications could not be written.");
        break;
    case HandlerService::verifyFailed:
        sentence = QCoreApplication::translate("Tolvane::DefaultBrowser",
                                               "The desktop still reports another default browser.");
        break;
    default:
        sentence = QCoreApplication::translate("Tolvane::DefaultBrowser", "The desktop refused the change.");
    }
    return detail_.isEmpty() ? sentence : sentence + ' ' + withStop(detail_);
}

} // namespace Tolvane
