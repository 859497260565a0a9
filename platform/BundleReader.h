#pragma once

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
};

} // namespace platform
