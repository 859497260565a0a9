// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileEntry.h"

#include "platform/Paths.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/ExecCommandLine.h"

#include <QCryptographicHash>

namespace platform::linux_ {
namespace {

const QString idPrefix = QStringLiteral("tolvane-profile-");
const QString browserKey = QStringLiteral("X-Tolvane-Profile-Of");

} // namespace

QString profileEntriesFolder() {
    return platform::dataHome() + QStringLiteral("/applications");
}

QString profileEntryId(const QString& browserId, const QString& profileKey) {
    QString key;
    for (QChar c : profileKey.left(64))
        key +=
            (c.isLetterOrNumber() && c.unicode() < 128) || c == '_' || c == '.' || c == '-' ? c : QChar('_');
    if (key != profileKey)
        key += '-' +
               QString::fromLatin1(
                   QCryptographicHash::hash(profileKey.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
    QString browser = browserId;
    if (browser.endsWith(QLatin1String(".desktop")))
        browser.chop(8);
    return idPrefix + browser + '-' + key + QStringLiteral(".desktop");
}

bool isProfileEntry(const DesktopEntry& entry) {
    return entry.value(browserKey).has_value();
}

QStringList profileArguments(ProfileFamily family, const FoundProfile& profile) {
    // Firefox's -P reaches a running instance of that profile, or starts one beside the others.
    if (family == ProfileFamily::Firefox)
        return {QStringLiteral("-P"), profile.key};
    return {QStringLiteral("--profile-directory=") + profile.key};
}

std::optional<QByteArray> profileEntryText(const InstalledEntry& browser, ProfileFamily family,
                                           const FoundProfile& profile, const QString& shownName) {
    const auto exec = browser.entry->value(QStringLiteral("Exec"));
    if (!exec)
        return std::nullopt;
    const ExecCommandLine command(unescapeDesktopValue(*exec));
    if (!command.program())
        return std::nullopt;
    QStringList words;
    for (const QString& argument : profileArguments(family, profile))
        words << quoteExecArgument(argument);
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
    text += QStringLiteral("Name=") + escapeDesktopValue(shownName) + '\n';
    text += QStringLiteral("Exec=") + escapeDesktopValue(command.withWordsBeforeFieldCodes(words)) + '\n';
    // As the browser's own entry has them, so the entry goes when the browser does.
    for (const char* key : {"Icon", "TryExec", "MimeType", "StartupWMClass", "StartupNotify", "Terminal"})
        if (auto value = browser.entry->value(QLatin1String(key)))
            text += QLatin1String(key) + '=' + *value + '\n';
    text += QStringLiteral("NoDisplay=true\n");
    text += browserKey + '=' + escapeDesktopValue(browser.id) + '\n';
    text += QStringLiteral("X-Tolvane-Profile=") + escapeDesktopValue(profile.key) + '\n';
    return text.toUtf8();
}

} // namespace platform::linux_
