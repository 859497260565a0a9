// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileLists.h"

#include <QDir>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace platform::linux_ {
namespace {

void sortByName(QList<FoundProfile>& profiles) {
    std::stable_sort(profiles.begin(), profiles.end(), [](const FoundProfile& a, const FoundProfile& b) {
        return a.name.toCaseFolded() < b.name.toCaseFolded();
    });
}

ProfileList problem(const QString& why) {
    return ProfileList{{}, why};
}

} // namespace

ProfileList readFirefoxProfiles(const QByteArray& content, const QString& folder) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(content);
    if (utf8.hasError())
        return problem(QStringLiteral("it is not UTF-8 text"));
    struct Section {
        QString name;
        QHash<QString, QString> values;
    };
    QList<Section> sections;
    int lineNumber = 0;
    for (QStringView line : QStringView(text).split('\n')) {
        ++lineNumber;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith(';'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            sections << Section{line.mid(1, line.size() - 2).toString(), {}};
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0 || sections.isEmpty())
            return problem(QStringLiteral("line %1 is not a key, a section or a comment").arg(lineNumber));
        sections.last().values.insert(line.left(eq).trimmed().toString(),
                                      line.mid(eq + 1).trimmed().toString());
    }
    QSet<QString> usedByInstalls;
    for (const Section& s : sections)
        if (s.name.startsWith(QLatin1String("Install")))
            usedByInstalls.insert(s.values.value(QStringLiteral("Default")));
    ProfileList list;
    QSet<QString> folders;
    for (const Section& s : sections) {
        if (!s.name.startsWith(QLatin1String("Profile")))
            continue;
        const QString name = s.values.value(QStringLiteral("Name"));
        const QString path = s.values.value(QStringLiteral("Path"));
        if (name.isEmpty() || path.isEmpty())
            continue;
        // The spare a first start leaves beside the profile the installation made for itself.
        if (name == QLatin1String("default") && !usedByInstalls.isEmpty() && !usedByInstalls.contains(path))
            continue;
        // Whole, so that it begins with '/' and never reads as an option.
        const bool relative = s.values.value(QStringLiteral("IsRelative"), QStringLiteral("1")) != "0";
        const QString absolute = QDir::cleanPath(relative ? folder + '/' + path : path);
        if (!absolute.startsWith('/') || folders.contains(absolute))
            continue;
        folders.insert(absolute);
        list.profiles << FoundProfile{absolute, name, name};
    }
    sortByName(list.profiles);
    return list;
}

ProfileList readChromiumProfiles(const QByteArray& content) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError)
        return problem(
            QStringLiteral("it is not JSON (%1 at byte %2)").arg(error.errorString()).arg(error.offset));
    const QJsonValue cache =
        document.object().value(QLatin1String("profile")).toObject().value(QLatin1String("info_cache"));
    if (!cache.isObject())
        return problem(QStringLiteral("it has no profile.info_cache"));
    ProfileList list;
    const QJsonObject profiles = cache.toObject();
    for (auto it = profiles.begin(); it != profiles.end(); ++it) {
        const QString folder = it.key();
        const QString name = it.value().toObject().value(QLatin1String("name")).toString();
        // Folders, not names, tell the profiles apart; the browser's own guest and system ones are no choice.
        if (folder.isEmpty() || folder.contains('/') || folder == QLatin1String("System Profile") ||
            folder == QLatin1String("Guest Profile"))
            continue;
        list.profiles << FoundProfile{folder, name.isEmpty() ? folder : name, {}};
    }
    sortByName(list.profiles);
    return list;
}

} // namespace platform::linux_
