// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopBundleReader.h"

#include <atomic>

namespace platform::linux_ {
namespace {

std::atomic<quint64> instances{0};

} // namespace

DesktopBundleReader::DesktopBundleReader(std::shared_ptr<DesktopEntryIndex> index, QString snapRoot,
                                         QString packageRoot, int packageRecheckMs)
    : serial_(++instances), index_(std::move(index)),
      versions_(std::move(snapRoot), std::move(packageRoot), packageRecheckMs) {}

QByteArray DesktopBundleReader::stateStamp() {
    // Names follow the message locale.
    QByteArray stamp = QByteArray::number(serial_) + ':' + DesktopEntry::messageLocale().toUtf8() + ':';
    if (readVersions_ && !versions_.appendStamp(stamp))
        return {};
    return stamp;
}

DesktopBundleReader::DesktopBundleReader(std::shared_ptr<DesktopEntryIndex> index, Versions versions,
                                         std::shared_ptr<BrowserProfiles> profiles)
    : DesktopBundleReader(std::move(index)) {
    profiles_ = std::move(profiles);
    readVersions_ = versions == Versions::read;
}

std::optional<Bundle> DesktopBundleReader::bundleAt(const QUrl& url) {
    if (!url.isLocalFile())
        return std::nullopt;
    const auto profile = profiles_ ? profiles_->atPath(url.toLocalFile()) : std::nullopt;
    const auto app = index_->entryAtPath(profile ? profile->browserPath : url.toLocalFile());
    if (!app)
        return std::nullopt;
    Bundle bundle;
    bundle.bundleIdentifier = (profile ? profile->id : app->id).chopped(QStringLiteral(".desktop").size());
    if (profile)
        bundle.info.insert(QStringLiteral("CFBundleName"), profile->name);
    else if (auto name = app->entry->name())
        bundle.info.insert(QStringLiteral("CFBundleName"), *name);
    if (!readVersions_)
        return bundle;
    if (auto version = versions_.find(*app, index_->recentDataDirs())) {
        bundle.info.insert(QStringLiteral("CFBundleShortVersionString"), version->version);
        if (version->build)
            bundle.info.insert(QStringLiteral("CFBundleVersion"), *version->build);
    }
    return bundle;
}

} // namespace platform::linux_
