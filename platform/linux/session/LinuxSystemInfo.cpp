// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxSystemInfo.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <sys/utsname.h>

namespace platform::linux_ {

LinuxSystemInfo::LinuxSystemInfo(QString root) : root_(std::move(root)) {}

QByteArray LinuxSystemInfo::readFile(const QString& relativePath) const {
    QFile file(QDir(root_).filePath(relativePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(64 * 1024);
}

std::optional<SystemInfo::Version> LinuxSystemInfo::parseVersion(QStringView text) {
    static const QRegularExpression leading(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const auto match = leading.match(text.trimmed().toString());
    if (!match.hasMatch())
        return std::nullopt;
    Version version;
    version.major = match.capturedView(1).toInt();
    version.minor = match.capturedView(2).toInt();
    version.patch = match.capturedView(3).toInt();
    return version;
}

SystemInfo::Version LinuxSystemInfo::operatingSystemVersion() {
    const auto osRelease = QString::fromUtf8(readFile("etc/os-release"));
    for (const auto& line : osRelease.split('\n')) {
        if (!line.startsWith(QLatin1String("VERSION_ID=")))
            continue;
        QString value = line.mid(11).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        if (auto version = parseVersion(value))
            return *version;
    }
    if (auto version = parseVersion(QString::fromUtf8(readFile("etc/debian_version"))))
        return *version;
    // Rolling distributions have no version of their own; the kernel's is the best we can say.
    utsname names{};
    if (::uname(&names) == 0)
        if (auto version = parseVersion(QString::fromLatin1(names.release)))
            return *version;
    return {};
}

QString LinuxSystemInfo::hardwareModel() {
    QByteArray product = readFile("sys/class/dmi/id/product_name");
    if (const auto nul = product.indexOf('\0'); nul >= 0)
        product.truncate(nul);
    const QString model = QString::fromUtf8(product).trimmed();
    if (!model.isEmpty() && !model.contains(QChar::ReplacementCharacter))
        return model;
    utsname names{};
    if (::uname(&names) != 0)
        return {};
    return QString::fromLatin1(names.machine);
}

} // namespace platform::linux_
