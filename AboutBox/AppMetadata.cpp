// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppMetadata.h"

#include "platform/MainBundle.h"
#include "platform/Services.h"

#include <QGuiApplication>

namespace AboutBox {

namespace {

QVariant infoValue(const char* key) {
    return platform::get<platform::MainBundle>()->objectForInfoDictionaryKey(QString::fromLatin1(key));
}

std::optional<QString> textValue(const char* key) {
    const QVariant value = infoValue(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

// Numbers count too: a build of 45 reads "45".
std::optional<QString> textualForm(const char* key) {
    const QVariant value = infoValue(key);
    if (!value.isValid() || value.isNull() || !value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

} // namespace

std::optional<QString> bundleName() {
    return textValue("CFBundleName");
}

std::optional<QString> bundleVersionText() {
    const auto version = textualForm("CFBundleShortVersionString");
    if (!version)
        return std::nullopt;
    return QStringLiteral("Version ") + *version;
}

std::optional<QString> bundleAltVersionText() {
    const auto version = bundleVersionText();
    const auto build = textualForm("CFBundleVersion");
    if (!version || !build)
        return std::nullopt;
    return *version + QStringLiteral(" (") + *build + QStringLiteral(")");
}

std::optional<QString> bundleCopyrightText() {
    return textValue("NSHumanReadableCopyright");
}

QIcon applicationIcon() {
    return QGuiApplication::windowIcon();
}

QString linkText(const QUrl& url) {
    if (url.host().isEmpty())
        return url.toString();
    return url.host() + url.path();
}

} // namespace AboutBox
