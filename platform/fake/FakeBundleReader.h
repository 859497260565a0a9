// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/BundleReader.h"

#include <QHash>
#include <QMutex>

namespace platform::fake {

class FakeBundleReader : public BundleReader {
public:
    QHash<QUrl, Bundle> bundles;
    QList<QUrl> opened;

    std::optional<Bundle> bundleAt(const QUrl& url) override {
        QMutexLocker lock(&mutex);
        opened << url;
        auto it = bundles.constFind(url);
        if (it == bundles.constEnd())
            return std::nullopt;
        return *it;
    }

    QMutex mutex;
};

} // namespace platform::fake
