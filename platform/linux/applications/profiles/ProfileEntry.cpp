// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileEntry.h"

#include "platform/Paths.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/ExecCommandLine.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform::linux_ {
namespace {

const QString idPrefix = QStringLiteral("tolvane-profile-");
const QString browserKey = QStringLiteral("X-Tolvane-Profile-Of");
const QString commandKey = QStringLiteral("X-Tolvane-Exec");

// Whether a word reaches the program intact also where an Exec line is split at spaces and
// nothing is unquoted.
bool survivesSplitting(const QString& word) {
    return std::all_of(word.begin(), word.end(), [](QChar c) {
        return c.unicode() < 128 && (c.isLetterOrNumber() || QStringLiteral("_-.,:/=+@").contains(c));
    });
}

// The program's words for `links`, field codes expanded; %u takes one link, so it makes a run per link.
QList<QStringList> runsFor(const QStringList& words, const QStringList& links) {
    const bool oneEach = words.contains(QStringLiteral("%u")) || words.contains(QStringLiteral("%f"));
    QList<QStringList> batches;
    if (oneEach && links.size() > 1)
        for (const QString& link : links)
            batches << QStringList{link};
    else
        batches << links;
    QList<QStringList> runs;
    for (const QStringList& batch : batches) {
        QStringList argv;
        for (const QString& word : words) {
            if (word == QLatin1String("%u") || word == QLatin1String("%f"))
                argv << batch.mid(0, 1);
            else if (word == QLatin1String("%U") || word == QLatin1String("%F"))
                argv << batch;
            else if (!(word.size() == 2 && word[0] == '%')) // %i %c %k: nothing a browser needs
                argv << word;
        }
        runs << argv;
    }
    return runs;
}

int failed(const QString& why) {
    std::fprintf(stderr, "tolvane: %s\n", qUtf8Printable(why));
    return 1;
}

} // namespace

QString profileEntriesFolder() {
    return platform::dataHome() + QStringLiteral("/applications");
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
    // Firefox's -P reaches a running instance of that profile, or starts one beside the others.
    if (family == ProfileFamily::Firefox)
        return {QStringLiteral("-P"), profile.key};
    return {QStringLiteral("--profile-directory=") + profile.key};
}

std::optional<QByteArray> profileEntryText(const InstalledEntry& browser, ProfileFamily family,
                                           const FoundProfile& profile, const QString& shownName,
                                           const QString& launcher) {
    const auto exec = browser.entry->value(QStringLiteral("Exec"));
    if (!exec)
        return std::nullopt;
    const ExecCommandLine command(unescapeDesktopValue(*exec));
    if (!command.program())
        return std::nullopt;
    QStringList words;
    bool plain = true;
    for (const QString& argument : profileArguments(family, profile)) {
        words << quoteExecArgument(argument);
        plain = plain && survivesSplitting(argument);
    }
    const QString direct = command.withWordsBeforeFieldCodes(words);
    const QString id = profileEntryId(browser.id, profile.key);
    const QString run = plain || launcher.isEmpty() ? direct
                                                    : quoteExecArgument(launcher) + ' ' +
                                                          QLatin1String(launchProfileOption) + ' ' + id +
                                                          QStringLiteral(" %U");
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

int launchProfileEntry(const QString& id, const QStringList& urls) {
    if (!id.startsWith(idPrefix) || id.contains('/'))
        return failed(QStringLiteral("\u201c%1\u201d is no profile entry").arg(id));
    const QString path = profileEntriesFolder() + '/' + id;
    const auto entry = DesktopEntry::read(path);
    const auto command = entry ? entry->value(commandKey) : std::nullopt;
    const QStringList words = command ? ExecCommandLine(unescapeDesktopValue(*command)).words() : QStringList();
    if (words.isEmpty())
        return failed(QStringLiteral("\u201c%1\u201d holds no browser command").arg(path));
    const QList<QStringList> runs = runsFor(words, urls);
    // Every run but the last starts beside this process; the last takes its place.
    for (qsizetype r = 0; r < runs.size(); ++r) {
        QList<QByteArray> bytes;
        for (const QString& word : runs[r])
            bytes << QFile::encodeName(word);
        std::vector<char*> argv;
        for (QByteArray& b : bytes)
            argv.push_back(b.data());
        argv.push_back(nullptr);
        if (r + 1 < runs.size()) {
            pid_t pid;
            if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
                return failed(QStringLiteral("could not start \u201c%1\u201d").arg(runs[r].first()));
            continue;
        }
        execvp(argv[0], argv.data());
    }
    return failed(QStringLiteral("could not start \u201c%1\u201d: %2")
                      .arg(words.first(), QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace platform::linux_
