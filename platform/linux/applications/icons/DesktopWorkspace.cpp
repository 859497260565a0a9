// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopWorkspace.h"

#include "ThemeIconEngine.h"

#include <QDesktopServices>

namespace platform::linux_ {

AppIcon DesktopWorkspace::iconForFile(const QString& listedPath) {
    // A profile shows its browser's icon.
    const QString path = entryPathFor(listedPath);
    QString name;
    if (auto found = index_->entryAtPath(path))
        name =
            unescapeDesktopValue(found->entry->value(QStringLiteral("Icon")).value_or(QString())).trimmed();
    const QString key = path + '\n' + name;
    QMutexLocker lock(&iconsMutex_);
    auto it = icons_.constFind(key);
    if (it != icons_.constEnd())
        return *it;
    const AppIcon icon(QIcon(new ThemeIconEngine(name)));
    icons_.insert(key, icon);
    return icon;
}

bool DesktopWorkspace::openURL(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace platform::linux_
