// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemInfo.h"

#include <optional>

namespace platform::linux_ {

// Distribution version from os-release (or debian_version), model from the DMI tables, else uname.
class LinuxSystemInfo : public SystemInfo {
public:
    // root: where /etc and /sys are looked up; tests point it at a prepared folder.
    explicit LinuxSystemInfo(QString root = "/");
    Version operatingSystemVersion() override;
    QString hardwareModel() override;

    // Leading dotted numbers of a version text ("12", "22.04", "12.5"); none when it starts otherwise.
    static std::optional<Version> parseVersion(QStringView text);

private:
    QByteArray readFile(const QString& relativePath) const;
    QString root_;
};

} // namespace platform::linux_
