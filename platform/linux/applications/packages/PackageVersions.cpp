// SPDX-License-Identifier: GPL-3.0-or-later
#include "PackageVersions.h"

#include "DpkgDatabase.h"
#include "PackageConfig.h"
#include "PacmanDatabase.h"
#include "platform/Paths.h"
#include "platform/linux/xdg/ExecCommandLine.h"

#if TOLVANE_WITH_LIBRPM
#include "RpmDatabase.h"
#endif

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform::linux_ {
namespace {

// Programs that start something else: their package says nothing about the browser.
bool isLauncher(const QString& program) {
    static const QStringList launchers = {"flatpak",
                                          "snap",
                                          "sh",
                                          "bash",
                                          "dash",
                                          "xdg-open",
                                          "gtk-launch",
                                          "sensible-browser",
                                          "x-www-browser",
                                          "gnome-www-browser",
                                          "kioclient",
                                          "kioclient5"};
    return launchers.contains(QFileInfo(program).fileName());
}

} // namespace

PackageVersions::PackageVersions(QString root) : root_(QDir::cleanPath(root)) {
    if (root_ == QLatin1String("/"))
        root_.clear();
    databases_.push_back(std::make_unique<DpkgDatabase>(root_));
#if TOLVANE_WITH_LIBRPM
    databases_.push_back(std::make_unique<RpmDatabase>(root_.isEmpty() ? QStringLiteral("/") : root_));
#endif
    databases_.push_back(std::make_unique<PacmanDatabase>(root_));
}

PackageVersions::~PackageVersions() = default;

QString PackageVersions::upstreamVersion(const QString& packageVersion) {
    QString v = packageVersion.trimmed();
    if (const qsizetype colon = v.indexOf(':'); colon > 0) {
        bool numeric = false;
        v.left(colon).toUInt(&numeric);
        if (numeric)
            v = v.mid(colon + 1);
    }
    if (const qsizetype dash = v.lastIndexOf('-'); dash > 0)
        v.truncate(dash);
    return v;
}

QStringList PackageVersions::namesOf(const QString& path) const {
    QString p = QDir::cleanPath(path);
    if (!root_.isEmpty()) {
        if (!p.startsWith(root_ + '/'))
            return {};
        p = p.mid(root_.size());
    }
    // Merged /usr: a package may list /bin/x or /usr/bin/x for the same file.
    return {p, p.startsWith(QLatin1String("/usr/")) ? p.mid(4) : QStringLiteral("/usr") + p};
}

QString PackageVersions::programPath(const DesktopEntry& entry) const {
    // Past environment setters and sandboxes to the browser's own program.
    const QString program =
        ExecCommandLine(unescapeDesktopValue(entry.value(QStringLiteral("Exec")).value_or(QString())))
            .program()
            .value_or(QString());
    if (program.isEmpty() || isLauncher(program))
        return {};
    if (program.startsWith('/'))
        return root_ + program;
    if (program.contains('/'))
        return {};
    QStringList dirs = qEnvironmentVariable("PATH").split(':', Qt::SkipEmptyParts);
    for (QString& dir : dirs)
        dir = root_ + dir;
    return QStandardPaths::findExecutable(program, dirs);
}

std::optional<QString> PackageVersions::ownerVersion(const QString& path) const {
    if (path.isEmpty())
        return std::nullopt;
    // Package managers never install into a home folder, /usr/local or a temporary or mounted
    // one: a user's own entry or program there has no owner to look for in the databases.
    const QString clean = QDir::cleanPath(path);
    if (root_.isEmpty() && clean.startsWith(platform::homeDir() + '/'))
        return std::nullopt;
    if (clean.startsWith(root_ + '/'))
        for (const char* unpackaged :
             {"/usr/local/", "/tmp/", "/var/tmp/", "/home/", "/root/", "/srv/", "/media/", "/mnt/", "/run/"})
            if (QStringView(clean).sliced(root_.size()).startsWith(QLatin1String(unpackaged)))
                return std::nullopt;
    auto lookup = [&](const QStringList& names) -> std::optional<QString> {
        if (names.isEmpty())
            return std::nullopt;
        for (const auto& database : databases_)
            if (auto version = database->versionOwning(names))
                if (const QString upstream = upstreamVersion(*version); !upstream.isEmpty())
                    return upstream;
        return std::nullopt;
    };
    if (auto version = lookup(namesOf(path)))
        return version;
    // Through a symlink (such as an alternatives link) to the packaged file.
    if (!QFileInfo(path).isSymLink())
        return std::nullopt;
    // A link to a launcher (/snap/bin/x → /usr/bin/snap) says nothing about the browser.
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() || real == path || isLauncher(real) ? std::nullopt : lookup(namesOf(real));
}

bool PackageVersions::refresh() {
    QMutexLocker lock(&mutex_);
    bool changed = false;
    for (const auto& database : databases_)
        changed |= database->refresh();
    refreshed_ = true;
    return changed;
}

std::optional<QString> PackageVersions::find(const QString& entryPath, const DesktopEntry& entry) {
    if (!refreshed_)
        refresh();
    QMutexLocker lock(&mutex_);
    if (auto version = ownerVersion(entryPath))
        return version;
    return ownerVersion(programPath(entry));
}

} // namespace platform::linux_
