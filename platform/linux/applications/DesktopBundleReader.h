// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppVersion.h"
#include "DesktopEntryIndex.h"
#include "platform/BundleReader.h"
#include "platform/linux/applications/profiles/BrowserProfiles.h"

namespace platform::linux_ {

// An application's metadata, read from its desktop entry and the package metadata beside it.
class DesktopBundleReader : public BundleReader {
public:
    explicit DesktopBundleReader(
        std::shared_ptr<DesktopEntryIndex> index = std::make_shared<DesktopEntryIndex>(),
        QString snapRoot = QStringLiteral("/snap"), QString packageRoot = QStringLiteral("/"),
        int packageRecheckMs = 1000);
    // Whether versions are looked up at all: a program that only switches or matches ids needs none.
    enum class Versions { read, skipped };
    // With `profiles`, a profile's listed entry reads as its browser's, named "Browser — Profile".
    DesktopBundleReader(std::shared_ptr<DesktopEntryIndex> index, Versions versions,
                        std::shared_ptr<BrowserProfiles> profiles = nullptr);

    // Identifier = desktop-file ID without ".desktop"; "CFBundleName" = the entry's Name;
    // "CFBundleShortVersionString"/"CFBundleVersion" only when a real version source says so.
    std::optional<Bundle> bundleAt(const QUrl& url) override;
    QByteArray stateStamp() override;

private:
    const quint64 serial_; // two instances never share a stamp
    std::shared_ptr<DesktopEntryIndex> index_;
    std::shared_ptr<BrowserProfiles> profiles_;
    AppVersionFinder versions_;
    bool readVersions_ = true;
};

} // namespace platform::linux_
