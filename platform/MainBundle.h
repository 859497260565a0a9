// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

namespace platform {

// The running application's own information ("CFBundleDisplayName", "CFBundleShortVersionString", ...).
class MainBundle {
public:
    virtual ~MainBundle() = default;
    virtual QVariant objectForInfoDictionaryKey(const QString& key) = 0;
    virtual QString bundleIdentifier() = 0;
};

} // namespace platform
