// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppIcon.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
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
    // Links are passed on exactly as given, each one argument.
    // Opens `urls` with the application listed at `application` (as urlsForApplicationsToOpenURL
    // gives it), started beside this program; false when it cannot be started.
    virtual bool openURLsWithApplication(const QStringList& urls, const QUrl& application) {
        Q_UNUSED(urls);
        Q_UNUSED(application);
        return false;
    }
    // Opens `urls` with the application of identifier `bundleId` without listing anything; with
    // `inPlace` this process becomes the application where it can (and this returns only on
    // failure). False, with `error` set, when there is no such application or it cannot start.
    virtual bool openURLsWithBundleIdentifier(const QStringList& urls, const QString& bundleId, bool inPlace,
                                              QString* error) {
        Q_UNUSED(urls);
        Q_UNUSED(bundleId);
        Q_UNUSED(inPlace);
        *error = QStringLiteral("not available here");
        return false;
    }
};

} // namespace platform
