// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <optional>

namespace platform {

// Metadata of one installed application.
struct Bundle {
    std::optional<QString> bundleIdentifier;
    QVariantMap info; // "CFBundleName", "CFBundleShortVersionString", "CFBundleVersion", ...

    QVariant objectForInfoDictionaryKey(const QString& key) const { return info.value(key); }
};

class BundleReader {
public:
    virtual ~BundleReader() = default;
    // The application at `url`, or none when it is not one.
    virtual std::optional<Bundle> bundleAt(const QUrl& url) = 0;
    // A value that changes whenever bundleAt may answer differently for application files that
    // did not change themselves (the Workspace's stamp covers those); empty when that cannot be
    // told cheaply, and then no answer may be kept.
    virtual QByteArray stateStamp() { return {}; }
};

} // namespace platform
