#pragma once

#include "DesktopEntryIndex.h"
#include "platform/Workspace.h"

#include <QHash>
#include <QMutex>

namespace platform::linux_ {

// Installed applications as desktop entries.
class DesktopWorkspace : public Workspace {
public:
    explicit DesktopWorkspace(
        std::shared_ptr<DesktopEntryIndex> index = std::make_shared<DesktopEntryIndex>());

    // Entries that declare (or are associated with) the URL's scheme handler type: GIO's order
    // for the type first, then every installed entry GIO's mimeinfo.cache does not know yet;
    // entries the current desktop hides (NoDisplay, OnlyShowIn/NotShowIn, TryExec) are left out.
    QList<QUrl> urlsForApplicationsToOpenURL(const QUrl& url) override;
    // The entry's Icon, resolved lazily; the same object for the same file and icon name.
    QIcon iconForFile(const QString& path) override;
    bool openURL(const QUrl& url) override;

private:
    QStringList gioOrder(const QString& type);

    std::shared_ptr<DesktopEntryIndex> index_;
    struct GioOrder {
        QByteArray signature;
        QStringList ids;
    };
    QMutex orderMutex_;
    QHash<QString, GioOrder> orders_;
    QMutex iconsMutex_;
    QHash<QString, QIcon> icons_; // path + '\n' + icon name → icon
};

// Desktop-file IDs GIO lists for `mimeType`, in its order.
QStringList gioDesktopIdsForType(const QString& mimeType);

} // namespace platform::linux_
