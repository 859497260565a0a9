// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AppIcon.h"

#include <QString>
#include <QUrl>

namespace Tolvane {

// One installed web browser.
struct DefaultBrowser {
    QString bundleId; // lower case
    QString appName;
    QString appVersion;
    platform::AppIcon appIcon;
    QUrl url;

    // bundleId ":" appVersion ":" the URL's absolute string; stored settings compare against it.
    QString id() const;

    // Makes this browser the handler for web links; throws LaunchServices::Error.
    // With autoConfirm the confirmation script is queued on a background thread.
    void setAsDefault(bool autoConfirm) const;

    friend bool operator==(const DefaultBrowser& a, const DefaultBrowser& b);
};

} // namespace Tolvane
