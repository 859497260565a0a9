// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/applications/DesktopApplications.h"

#include <QHash>
#include <QIcon>
#include <QMutex>

namespace platform::linux_ {

// Installed applications as desktop entries, with their icons, where there is a display.
class DesktopWorkspace : public DesktopApplications {
public:
    using DesktopApplications::DesktopApplications;

    // The entry's Icon, resolved lazily; the same object for the same file and icon name.
    AppIcon iconForFile(const QString& path) override;
    bool openURL(const QUrl& url) override;

private:
    QMutex iconsMutex_;
    QHash<QString, AppIcon> icons_; // path + '\n' + icon name → icon
};

} // namespace platform::linux_
