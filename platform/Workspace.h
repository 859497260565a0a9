// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppIcon.h"

#include <QByteArray>
#include <QList>
#include <QUrl>

namespace platform {

// Installed applications and what they open.
class Workspace {
public:
    virtual ~Workspace() = default;
    // File URLs of every application able to open `url`, in the platform's order.
    virtual QList<QUrl> urlsForApplicationsToOpenURL(const QUrl& url) = 0;
    // Icon of the application at `path`; never null where icons are drawn (a generic icon when it
    // has none), empty in a process that draws nothing.
    // Must be callable from any thread; rendering happens later on the GUI thread.
    virtual AppIcon iconForFile(const QString& path) = 0;
    // A value that changes whenever urlsForApplicationsToOpenURL or the application files it lists
    // may have changed since it was last asked; empty when that cannot be told cheaply, and then
    // no answer may be kept.
    virtual QByteArray stateStamp() { return {}; }
    // Opens a URL with the user's preferred handler.
    virtual bool openURL(const QUrl& url) = 0;
    // Opens `urls` with the application listed at `application` (as urlsForApplicationsToOpenURL
    // gives it), started beside this program; false when it cannot be started.
    virtual bool openURLsWithApplication(const QList<QUrl>& urls, const QUrl& application) {
        Q_UNUSED(urls);
        Q_UNUSED(application);
        return false;
    }
};

} // namespace platform
