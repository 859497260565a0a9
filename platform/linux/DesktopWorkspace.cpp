#include "DesktopWorkspace.h"

#include "MimeAppsLookup.h"
#include "ThemeIconEngine.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QSet>

// GLib uses "signals" as a field name, Qt as a keyword.
#undef signals
#include <gio/gio.h>
#define signals Q_SIGNALS

#include <sys/stat.h>

namespace platform::linux_ {

QStringList gioDesktopIdsForType(const QString& mimeType) {
    QStringList ids;
    GList* infos = g_app_info_get_all_for_type(mimeType.toUtf8().constData());
    for (GList* item = infos; item; item = item->next) {
        if (const char* id = g_app_info_get_id(G_APP_INFO(item->data)))
            ids << QString::fromUtf8(id);
    }
    g_list_free_full(infos, g_object_unref);
    return ids;
}

namespace {

// What GIO's answer for a type depends on: every mimeapps.list and every mimeinfo.cache.
// Returns the stat data of all of them, and whether all are old enough that GIO's file
// monitors have certainly seen them (its view is refreshed from a worker thread, not by us).
QByteArray gioInputsSignature(const QStringList& dataDirs, bool* settled) {
    QStringList files = mimeAppsListFiles();
    for (const QString& dir : dataDirs)
        files << dir + QStringLiteral("/applications/mimeinfo.cache");
    QByteArray signature;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    *settled = true;
    for (const QString& file : files) {
        struct stat st;
        if (stat(QFile::encodeName(file).constData(), &st) != 0) {
            signature += '-';
            continue;
        }
        const qint64 times[] = {st.st_mtim.tv_sec,  st.st_mtim.tv_nsec, st.st_ctim.tv_sec,
                                st.st_ctim.tv_nsec, qint64(st.st_size), qint64(st.st_ino)};
        signature.append(reinterpret_cast<const char*>(times), sizeof times);
        if (now - st.st_ctim.tv_sec < 3)
            *settled = false;
    }
    return signature;
}

} // namespace

QStringList DesktopWorkspace::gioOrder(const QString& type) {
    bool settled = false;
    const QByteArray signature = gioInputsSignature(index_->recentDataDirs(), &settled);
    {
        QMutexLocker lock(&orderMutex_);
        auto it = orders_.constFind(type);
        if (it != orders_.constEnd() && it->signature == signature)
            return it->ids;
    }
    // Asking GIO loads every matching entry (milliseconds for hundreds), so its answer is kept
    // while nothing it reads has changed. Right after a change GIO may not have caught up yet;
    // such an answer is used once and not kept.
    const QStringList ids = gioDesktopIdsForType(type);
    QMutexLocker lock(&orderMutex_);
    if (settled)
        orders_.insert(type, GioOrder{signature, ids});
    else
        orders_.remove(type);
    return ids;
}

DesktopWorkspace::DesktopWorkspace(std::shared_ptr<DesktopEntryIndex> index) : index_(std::move(index)) {}

QList<QUrl> DesktopWorkspace::urlsForApplicationsToOpenURL(const QUrl& url) {
    const QString type = QStringLiteral("x-scheme-handler/") + url.scheme().toLower();
    // GIO keeps its own view of the folders and refreshes it from file monitors, so it may lag
    // behind a change made a moment ago. The fresh index is the authority on what is installed;
    // GIO only contributes the order (defaults and associations first).
    // Only what the desktop itself would list: no helper entries, none meant for another desktop.
    QList<InstalledEntry> installed = index_->entries();
    const QStringList desktops = DesktopEntry::currentDesktops();
    installed.removeIf([&](const InstalledEntry& e) { return !e.entry->shownIn(desktops); });
    QHash<QString, qsizetype> byId;
    for (qsizetype i = 0; i < installed.size(); ++i)
        byId.insert(installed[i].id, i);

    QList<QUrl> urls;
    QSet<qsizetype> listed;
    for (const QString& id : gioOrder(type)) {
        auto it = byId.constFind(id);
        if (it == byId.constEnd() || listed.contains(*it))
            continue; // gone, hidden or shadowed since GIO last looked
        listed.insert(*it);
        urls << QUrl::fromLocalFile(installed[*it].path);
    }
    for (qsizetype i = 0; i < installed.size(); ++i)
        if (!listed.contains(i) && installed[i].entry->declares(type))
            urls << QUrl::fromLocalFile(installed[i].path);
    return urls;
}

QIcon DesktopWorkspace::iconForFile(const QString& path) {
    QString name;
    if (auto found = index_->entryAtPath(path))
        name =
            unescapeDesktopValue(found->entry->value(QStringLiteral("Icon")).value_or(QString())).trimmed();
    const QString key = path + '\n' + name;
    QMutexLocker lock(&iconsMutex_);
    auto it = icons_.constFind(key);
    if (it != icons_.constEnd())
        return *it;
    QIcon icon(new ThemeIconEngine(name));
    icons_.insert(key, icon);
    return icon;
}

bool DesktopWorkspace::openURL(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace platform::linux_
