#include "BrowserCatalogue.h"

#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "platform/Workspace.h"

namespace Tolvane {
namespace {

const QString safariPath = QStringLiteral("/Applications/Safari.app/");

QString lastPathComponent(const QUrl& url) {
    QString path = url.path();
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path.mid(path.lastIndexOf('/') + 1);
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
    if (lastPathComponent(appURL).compare(QLatin1String("safari.app"), Qt::CaseInsensitive) == 0 &&
        platform::get<platform::FileSystem>()->fileExists(safariPath)) {
        const QUrl fixedURL = QUrl::fromLocalFile(safariPath);
        if (auto bundle = identifiedBundle(fixedURL))
            return recordFrom(*bundle, appURL, fixedURL);
    }
    if (auto bundle = identifiedBundle(appURL))
        return recordFrom(*bundle, appURL, appURL);
    return std::nullopt;
}

QList<DefaultBrowser> installedBrowsers() {
    QList<DefaultBrowser> browsers;
    const auto urls =
        platform::get<platform::Workspace>()->urlsForApplicationsToOpenURL(QUrl(QStringLiteral("https:")));
    for (const QUrl& url : urls)
        if (auto browser = makeBrowser(url))
            browsers << *browser;
    return browsers;
}

} // namespace Tolvane
