// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Workspace.h"

#include <QIcon>

#include <QHash>
#include <QMutex>

namespace platform::fake {

class FakeWorkspace : public Workspace {
public:
    QList<QUrl> applications;
    QList<QUrl> queriedURLs;
    QStringList iconPaths; // every path asked for an icon
    QList<QUrl> openedURLs;
    bool openResult = true;

    QList<QUrl> urlsForApplicationsToOpenURL(const QUrl& url) override {
        QMutexLocker lock(&mutex);
        queriedURLs << url;
        return applications;
    }
    AppIcon iconForFile(const QString& path) override {
        QMutexLocker lock(&mutex);
        iconPaths << path;
        auto it = icons.find(path);
        if (it == icons.end())
            it = icons.insert(path, QIcon());
        return *it;
    }
    bool openURL(const QUrl& url) override {
        QMutexLocker lock(&mutex);
        openedURLs << url;
        return openResult;
    }

    QHash<QString, QIcon> icons;
    QMutex mutex;
};

} // namespace platform::fake
