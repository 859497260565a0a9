// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserProfiles.h"

#include "ProfileEntry.h"
#include "platform/Paths.h"
#include "platform/linux/xdg/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <sys/stat.h>

namespace platform::linux_ {
namespace {

Q_LOGGING_CATEGORY(lcProfiles, "app.tolvane.Tolvane.profiles")

} // namespace

BrowserProfiles::BrowserProfiles(Installed installed, qint64 settleNs)
    : installed_(std::move(installed)), settleNs_(settleNs) {}

ProfileList BrowserProfiles::listAt(const ProfileSource& source) {
    struct stat st;
    if (stat(QFile::encodeName(source.file).constData(), &st) != 0)
        return {};
    const FileStamp stamp = FileStamp::of(st);
    QMutexLocker lock(&mutex_);
    if (auto it = read_.constFind(source.file); it != read_.constEnd() && it->stamp == stamp)
        return it->list;
    ProfileList list;
    QString error;
    if (!S_ISREG(st.st_mode))
        list.problem = QStringLiteral("it is not a regular file");
    else if (st.st_size > maxFileSize)
        list.problem = QStringLiteral("it is larger than %1 bytes").arg(maxFileSize);
    else if (const auto content = readSnapshot(source.file, &error); !content)
        list.problem = error;
    else
        list = source.family == ProfileFamily::Firefox
                   ? readFirefoxProfiles(content->content, QFileInfo(source.file).path())
                   : readChromiumProfiles(content->content);
    // Said once per version of the file; the browser is still offered, without profiles.
    if (!list.problem.isEmpty()) {
        qCWarning(lcProfiles).noquote()
            << "Passing over the profiles in" << source.file + ':' << list.problem;
        list.profiles.clear();
    }
    read_.insert(source.file, Read{stamp, list});
    return list;
}

QList<ProfileChoice> BrowserProfiles::of(const InstalledEntry& browser) {
    if (isProfileEntry(*browser.entry))
        return {};
    const auto source = profileSourceOf(*browser.entry);
    if (!source)
        return {};
    const ProfileList list = listAt(*source);
    if (list.profiles.size() < 2)
        return {};
    const QString browserName = browser.entry->name().value_or(browser.id);
    QList<ProfileChoice> choices;
    for (const FoundProfile& profile : list.profiles) {
        const QString name = browserName + QStringLiteral(" \u2014 ") + profile.name;
        const auto entry = profileEntryText(browser, source->family, profile, name);
        if (!entry)
            continue;
        const QString id = profileEntryId(browser.id, profile.key);
        const QString legacyId =
            profile.legacyKey.isEmpty() ? QString() : profileEntryId(browser.id, profile.legacyKey);
        choices << ProfileChoice{
            id, profileEntriesFolder() + '/' + id, browser.id, browser.path, name, *entry, legacyId};
    }
    QMutexLocker lock(&mutex_);
    for (const ProfileChoice& choice : choices)
        listedByPath_.insert(choice.path, choice);
    return choices;
}

QList<ProfileChoice> BrowserProfiles::allChoices() {
    QList<ProfileChoice> all;
    for (const InstalledEntry& entry : installed_())
        all << of(entry);
    return all;
}

std::optional<ProfileChoice> BrowserProfiles::atPath(const QString& path) {
    {
        QMutexLocker lock(&mutex_);
        if (auto it = listedByPath_.constFind(path); it != listedByPath_.constEnd())
            return *it;
    }
    // Only a file of this program's naming can be a profile not listed yet; asking every listed
    // browser's path would read every browser's profiles once per browser.
    const QString folder = profileEntriesFolder() + '/';
    if (!path.startsWith(folder) || !path.mid(folder.size()).startsWith(QLatin1String("tolvane-profile-")))
        return std::nullopt;
    const QList<ProfileChoice> all = allChoices();
    for (const ProfileChoice& choice : all)
        if (choice.path == path)
            return choice;
    // An entry an older version wrote, named after the profile's name, while that name holds.
    for (const ProfileChoice& choice : all)
        if (!choice.legacyId.isEmpty() && folder + choice.legacyId == path)
            return choice;
    return std::nullopt;
}

std::optional<ProfileChoice> BrowserProfiles::withId(const QString& id) {
    if (!id.startsWith(QLatin1String("tolvane-profile-"), Qt::CaseInsensitive))
        return std::nullopt;
    const QList<ProfileChoice> all = allChoices();
    for (const ProfileChoice& choice : all)
        if (choice.id == id)
            return choice;
    for (const ProfileChoice& choice : all)
        if (choice.id.compare(id, Qt::CaseInsensitive) == 0)
            return choice;
    // Rules, shortcuts and settings may hold an ID an older version made from the profile's name.
    for (const ProfileChoice& choice : all)
        if (!choice.legacyId.isEmpty() && choice.legacyId.compare(id, Qt::CaseInsensitive) == 0)
            return choice;
    return std::nullopt;
}

QByteArray BrowserProfiles::stamp() {
    QStringList files = knownProfileFiles();
    {
        QMutexLocker lock(&mutex_);
        files << read_.keys(); // lists a browser's command line named, too
    }
    files.removeDuplicates();
    files.sort();
    QByteArray stamp;
    const qint64 now = wallClockNs();
    for (const QString& file : files) {
        struct stat st;
        if (stat(QFile::encodeName(file).constData(), &st) != 0) {
            stamp += '-';
            continue;
        }
        const FileStamp found = FileStamp::of(st);
        if (!found.settledBefore(now, settleNs_))
            return {};
        stamp.append(reinterpret_cast<const char*>(&found), sizeof found);
    }
    // Entries name their browser and the profile folder's holder: a new home changes answers too.
    return stamp + platform::dataHome().toUtf8();
}

} // namespace platform::linux_
