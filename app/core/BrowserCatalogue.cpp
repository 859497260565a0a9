// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserCatalogue.h"

#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "platform/Workspace.h"

#include <QMutex>

namespace Tolvane {
namespace {

const QString safariPath = QStringLiteral("/Applications/Safari.app/");

QString lastPathComponent(const QUrl& url) {
    QString path = url.path();
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path.mid(path.lastIndexOf('/') + 1);
}

bool isSafariName(const QUrl& url) {
    return lastPathComponent(url).compare(QLatin1String("safari.app"), Qt::CaseInsensitive) == 0;
}

QString stringValue(const platform::Bundle& bundle, const QString& key) {
    const QVariant value = bundle.objectForInfoDictionaryKey(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

bool isString(const platform::Bundle& bundle, const QString& key) {
    return bundle.objectForInfoDictionaryKey(key).typeId() == QMetaType::QString;
}

DefaultBrowser recordFrom(const platform::Bundle& bundle, const QUrl& passedURL, const QUrl& url) {
    DefaultBrowser browser;
    browser.bundleId = bundle.bundleIdentifier->toLower();
    browser.appName =
        isString(bundle, "CFBundleName") ? stringValue(bundle, "CFBundleName") : QStringLiteral("-");
    browser.appVersion = bundleVersionText(bundle);
    // The icon always comes from the path the platform reported, also under the Safari rule.
    browser.appIcon = platform::get<platform::Workspace>()->iconForFile(
        passedURL.isLocalFile() ? passedURL.toLocalFile() : passedURL.path());
    browser.url = url;
    return browser;
}

std::optional<platform::Bundle> identifiedBundle(const QUrl& url) {
    auto bundle = platform::get<platform::BundleReader>()->bundleAt(url);
    if (!bundle || !bundle->bundleIdentifier)
        return std::nullopt;
    return bundle;
}

} // namespace

QString bundleVersionText(const platform::Bundle& bundle) {
    QStringList parts;
    if (isString(bundle, "CFBundleShortVersionString"))
        parts << stringValue(bundle, "CFBundleShortVersionString");
    if (isString(bundle, "CFBundleVersion"))
        parts << stringValue(bundle, "CFBundleVersion");
    return parts.join(' ');
}

std::optional<DefaultBrowser> makeBrowser(const QUrl& appURL) {
    if (isSafariName(appURL) && platform::get<platform::FileSystem>()->fileExists(safariPath)) {
        const QUrl fixedURL = QUrl::fromLocalFile(safariPath);
        if (auto bundle = identifiedBundle(fixedURL))
            return recordFrom(*bundle, appURL, fixedURL);
    }
    if (auto bundle = identifiedBundle(appURL))
        return recordFrom(*bundle, appURL, appURL);
    return std::nullopt;
}

QList<DefaultBrowser> installedBrowsers() {
    const auto workspace = platform::get<platform::Workspace>();
    // The last listing is kept against both ports' stamps: a listing with nothing changed only
    // looks whether anything did.
    QByteArray stamp = workspace->stateStamp();
    if (!stamp.isEmpty()) {
        const QByteArray more = platform::get<platform::BundleReader>()->stateStamp();
        stamp = more.isEmpty() ? QByteArray() : stamp + '\n' + more;
    }
    static QMutex keptMutex;
    static QByteArray keptStamp;
    static QList<DefaultBrowser> kept;
    if (!stamp.isEmpty()) {
        QMutexLocker lock(&keptMutex);
        if (stamp == keptStamp)
            return kept;
    }
    QList<DefaultBrowser> browsers;
    bool keepable = !stamp.isEmpty();
    const auto urls = workspace->urlsForApplicationsToOpenURL(QUrl(QStringLiteral("https:")));
    for (const QUrl& url : urls) {
        // The Safari rule asks the file system, which no stamp covers.
        keepable = keepable && !isSafariName(url);
        if (auto browser = makeBrowser(url))
            browsers << *browser;
    }
    if (keepable) {
        QMutexLocker lock(&keptMutex);
        keptStamp = stamp;
        kept = browsers;
    }
    return browsers;
}

} // namespace Tolvane
