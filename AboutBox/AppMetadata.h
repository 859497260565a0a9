// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QLoggingCategory>
#include <QString>
#include <QUrl>

#include <optional>

namespace AboutBox {

// Everything an About panel shows; the caller fills it, the library knows nothing of the application.
struct AppMetadata {
    QIcon icon;
    qreal iconSize = 80;
    QString name;
    QString versionText;
    QString altVersionText;
    std::optional<QUrl> url; // no link line when absent
    QColor urlColor;
    QString copyrightText;
    // Where the panel logs (a link that could not be opened); the application's own category.
    const QLoggingCategory& (*logCategory)() = nullptr;
};

// Lookups in the running application's information; each is empty when its key is missing.
// "CFBundleName" when it is text.
std::optional<QString> bundleName();
// "Version " + "CFBundleShortVersionString".
std::optional<QString> bundleVersionText();
// The version text + " (" + "CFBundleVersion" + ")"; empty when either part is missing.
std::optional<QString> bundleAltVersionText();
// "NSHumanReadableCopyright" when it is text.
std::optional<QString> bundleCopyrightText();

// The running application's own icon.
QIcon applicationIcon();

// What the link line reads: host directly followed by path, or the whole URL when it has no host.
QString linkText(const QUrl& url);

} // namespace AboutBox
