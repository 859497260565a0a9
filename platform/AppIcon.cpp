// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIcon.h"

#include <QIcon>

namespace platform {

AppIcon::AppIcon(const QIcon& icon) : icon_(std::make_shared<const QIcon>(icon)), key_(icon.cacheKey()) {}

AppIcon::operator QIcon() const {
    return icon_ ? *icon_ : QIcon();
}

} // namespace platform
