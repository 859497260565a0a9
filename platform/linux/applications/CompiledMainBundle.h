// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MainBundle.h"

namespace platform::linux_ {

// The application's information as compiled in from the build.
class CompiledMainBundle : public MainBundle {
public:
    QVariant objectForInfoDictionaryKey(const QString& key) override;
    QString bundleIdentifier() override;
};

} // namespace platform::linux_
