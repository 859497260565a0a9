#include "MimeAppsHandlerService.h"

#include "KeyFileLines.h"
#include "MimeAppsLookup.h"
#include "platform/Paths.h"

#include <QDir>
#include <QLoggingCategory>
#include <QSet>

namespace platform::linux_ {
namespace {

Q_LOGGING_CATEGORY(lcHandlers, "app.tolvane.Tolvane.handlers")

const QString defaultGroup = QStringLiteral("Default Applications");
const QString addedGroup = QStringLiteral("Added Associations");
const QString removedGroup = QStringLiteral("Removed Associations");

struct PlannedFile {
    QString path;
    FileSnapshot before;
    QByteArray after;
};

// Puts `id` first for each type; with `onlyExisting` only keys the file already has are touched,
// which is how a desktop-specific list is brought in line without widening what it overrides.
void makeDefault(KeyFileLines& lines, const QStringList& types, const QString& id, bool onlyExisting) {
    for (const QString& type : types) {
        for (const QString& group : {defaultGroup, addedGroup})
            if (!onlyExisting || lines.value(group, type))
                lines.prependToList(group, type, id);
        lines.removeFromList(removedGroup, type, id);
    }
}

} // namespace

MimeAppsHandlerService::MimeAppsHandlerService(std::shared_ptr<DesktopEntryIndex> index)
    : index_(std::move(index)) {}

QString MimeAppsHandlerService::lockFilePath() {
    return platform::tolvaneConfigDir() + "/mimeapps.list.lock";
}

bool MimeAppsHandlerService::replaceFile(const QString& path, const QByteArray& content, QString* error) {
    return replaceFileAtomically(path, content, error);
}

std::optional<QString> MimeAppsHandlerService::defaultHandlerForURLScheme(const QString& scheme) {
    // The same reading as xdg-mime and the read-back below: listed IDs that are not installed
    // are passed over.
    QHash<QString, DesktopEntryIndex::Located> byId;
    for (const DesktopEntryIndex::Located& file : index_->locateAll())
        byId.insert(file.id, file);
    return defaultApplication(QStringLiteral("x-scheme-handler/") + scheme.toLower(), [&](const QString& id) {
        auto it = byId.constFind(id);
        return it != byId.constEnd() && index_->usableEntry(*it).has_value();
    });
}

int MimeAppsHandlerService::setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) {
    // Only the files that matter are read: the chosen app and those the read-back meets.
    const QList<DesktopEntryIndex::Located> files = index_->locateAll();
    QHash<QString, qsizetype> byId;
    std::optional<InstalledEntry> app;
    bool exact = false;
    for (qsizetype i = 0; i < files.size(); ++i) {
        byId.insert(files[i].id, i);
        // Desktop IDs are case-sensitive, the identifiers we are given are lower case: an ID spelled
        // exactly so wins over one that only matches when lower-cased.
        const QString name = files[i].id.chopped(8);
        if (exact || bundleId.isEmpty() || name.toLower() != bundleId.toLower())
            continue;
        if (app && name != bundleId)
            continue;
        if (auto candidate = index_->usableEntry(files[i])) {
            app = candidate;
            exact = name == bundleId;
        }
    }
    if (!app) {
        qCWarning(lcHandlers) << "no installed application with identifier" << bundleId;
        return applicationNotFound;
    }
    const QString id = app->id;

    const QString lower = scheme.toLower();
    QStringList types;
    if (lower == QLatin1String("http") || lower == QLatin1String("https")) {
        types << QStringLiteral("x-scheme-handler/http") << QStringLiteral("x-scheme-handler/https");
        for (const QString& page : {QStringLiteral("text/html"), QStringLiteral("application/xhtml+xml")})
            if (app->entry->declares(page))
                types << page;
    } else {
        types << QStringLiteral("x-scheme-handler/") + lower;
    }

    FileLock lock(lockFilePath());
    if (!lock.isLocked()) {
        qCWarning(lcHandlers) << "cannot take the lock" << lockFilePath();
        return writeFailed;
    }

    const QString config = platform::configHome();
    QList<PlannedFile> plan;
    auto planFile = [&](const QString& path, bool mustExist, auto&& edit) -> bool {
        auto before = readSnapshot(resolveSymlinks(path));
        if (!before) {
            qCWarning(lcHandlers) << "cannot read" << path;
            return false;
        }
        if (mustExist && !before->existed)
            return true;
        KeyFileLines lines(before->content);
        edit(lines);
        if (lines.content() != before->content || !before->existed)
            plan << PlannedFile{path, *before, lines.content()};
        return true;
    };

    const bool planned =
        QDir().mkpath(config) && planFile(config + "/mimeapps.list", false,
                                          [&](KeyFileLines& l) { makeDefault(l, types, id, false); });
    bool ok = planned;
    for (const QString& desktop : currentDesktops())
        ok = ok && planFile(config + '/' + desktop + "-mimeapps.list", true,
                            [&](KeyFileLines& l) { makeDefault(l, types, id, true); });
    if (types.contains(QStringLiteral("x-scheme-handler/http")))
        ok = ok && planFile(config + "/kdeglobals", true, [&](KeyFileLines& l) {
                 if (l.value(QStringLiteral("General"), QStringLiteral("BrowserApplication")))
                     l.setValue(QStringLiteral("General"), QStringLiteral("BrowserApplication"), id);
             });
    if (!ok)
        return writeFailed;

    QList<const PlannedFile*> written;
    auto rollBack = [&] {
        for (auto it = written.rbegin(); it != written.rend(); ++it) {
            QString error;
            if (!restoreSnapshot((*it)->path, (*it)->before, &error))
                qCCritical(lcHandlers) << "could not restore" << (*it)->path << error;
        }
    };
    for (const PlannedFile& file : plan) {
        QString error;
        if (!replaceFile(file.path, file.after, &error)) {
            qCWarning(lcHandlers) << "write failed:" << error;
            rollBack();
            return writeFailed;
        }
        written << &file;
    }

    const auto isInstalled = [&](const QString& candidate) {
        auto it = byId.constFind(candidate);
        return it != byId.constEnd() && index_->usableEntry(files[*it]).has_value();
    };
    for (const QString& type : types) {
        const auto now = defaultApplication(type, isInstalled);
        if (now != id) {
            qCWarning(lcHandlers) << "read-back of" << type << "shows" << now.value_or("nothing") << "not"
                                  << id;
            rollBack();
            return verifyFailed;
        }
    }
    return noErr;
}

} // namespace platform::linux_
