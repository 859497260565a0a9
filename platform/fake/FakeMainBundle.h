// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MainBundle.h"

#include <QVariantMap>

namespace platform::fake {

class FakeMainBundle : public MainBundle {
public:
    QVariantMap info;
    QString identifier = "app.tolvane.Tolvane";

    QVariant objectForInfoDictionaryKey(const QString& key) override { return info.value(key); }
    QString bundleIdentifier() override { return identifier; }
};

} // namespace platform::fake
