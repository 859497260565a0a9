// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileEntry.h"

#include "platform/Paths.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/ExecCommandLine.h"
#include "platform/linux/xdg/ExecLaunch.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cstdio>

namespace platform::linux_ {
namespace {

const QString idPrefix = QStringLiteral("tolvane-profile-");
const QString browserKey = QStringLiteral("X-Tolvane-Profile-Of");
const QString commandKey = QStringLiteral("X-Tolvane-Exec");

int failed(const QString& why) {
    std::fprintf(stderr, "tolvane: %s\n", qUtf8Printable(why));
    return 1;
}

} // namespace

QString profileEntriesFolder() {
    return platform::dataHome() + QStringLiteral("/applications");
}

QString profileScriptPath(const QString& entryId) {
    return platform::dataHome() + QStringLiteral("/tolvane/profiles/") + entryId.chopped(8);
}

QString profileEntryId(const QString& browserId, const QString& profileKey) {
    const QByteArray hash =
        QCryptographicHash::hash((browserId + '\n' + profileKey).toUtf8(), QCryptographicHash::Sha1);
    return idPrefix + QString::fromLatin1(hash.toHex().left(16)) + QStringLiteral(".desktop");
}

bool isProfileEntry(const DesktopEntry& entry) {
    return entry.value(browserKey).has_value();
}

QStringList profileArguments(ProfileFamily family, const FoundProfile& profile) {
    // A running instance of that profile gets the link, or one starts beside the others. Its name
    // could be "-headless": the whole path begins with '/'.
    if (family == ProfileFamily::Firefox)
        return {QStringLiteral("--profile"), profile.key};
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
    const QString direct = command.withWordsBeforeFieldCodes(words);
    const QString id = profileEntryId(browser.id, profile.key);
    // The script is written with the entry; its one word survives every opener, and it needs no
    // Tolvane to run.
    const QString run = quoteExecArgument(profileScriptPath(id)) + QStringLiteral(" %U");
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
    text += QStringLiteral("Name=") + escapeDesktopValue(shownName) + '\n';
    text += QStringLiteral("Exec=") + escapeDesktopValue(run) + '\n';
    // As the browser's own entry has them, so the entry goes when the browser does.
    for (const char* key : {"Icon", "TryExec", "MimeType", "StartupWMClass", "StartupNotify", "Terminal"})
        if (auto value = browser.entry->value(QLatin1String(key)))
            text += QLatin1String(key) + '=' + *value + '\n';
    text += QStringLiteral("NoDisplay=true\n");
    text += browserKey + '=' + escapeDesktopValue(browser.id) + '\n';
    text += QStringLiteral("X-Tolvane-Profile=") + escapeDesktopValue(profile.key) + '\n';
    text += commandKey + '=' + escapeDesktopValue(direct) + '\n';
    return text.toUtf8();
}

std::optional<QString> browserCommand(const DesktopEntry& entry) {
    auto command = entry.value(commandKey);
    if (!command)
        command = entry.value(QStringLiteral("Exec"));
    if (!command)
        return std::nullopt;
    return unescapeDesktopValue(*command);
}

int launchProfileEntry(const QString& id, const QStringList& urls) {
    if (!id.startsWith(idPrefix) || id.contains('/'))
        return failed(QStringLiteral("\u201c%1\u201d is no profile entry").arg(id));
    const QString path = profileEntriesFolder() + '/' + id;
    const auto entry = DesktopEntry::read(path);
    const auto command = entry ? entry->value(commandKey) : std::nullopt;
    if (!command)
        return failed(QStringLiteral("\u201c%1\u201d holds no browser command").arg(path));
    QString error;
    const QList<QStringList> runs =
        commandRuns(unescapeDesktopValue(*command), urls, execEntryFacts(*entry, path), &error);
    if (runs.isEmpty())
        return failed(QStringLiteral("\u201c%1\u201d cannot start its browser: %2").arg(path, error));
    execRuns(runs, &error);
    return failed(error);
}

} // namespace platform::linux_
