// SPDX-License-Identifier: GPL-3.0-or-later
#include "RpmDatabase.h"

#include "LibRpm.h"

#include <QFileInfo>

#include <mutex>

#include <fcntl.h>

namespace platform::linux_ {
namespace {

// Where distributions keep it: the sysimage folder (rpm 4.16 and later), then the old place.
const QStringList dbFolders = {QStringLiteral("/usr/lib/sysimage/rpm"), QStringLiteral("/var/lib/rpm")};
const QStringList dbFiles = {QStringLiteral("rpmdb.sqlite"), QStringLiteral("rpmdb.sqlite-wal"),
                             QStringLiteral("Packages"), QStringLiteral("Packages.db")};

// librpm's configuration and macros are process-wide.
std::mutex& librpmMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace

RpmDatabase::RpmDatabase(const QString& root) : root_(root.isEmpty() ? QStringLiteral("/") : root) {}

std::optional<QString> RpmDatabase::query(const QString& dbPath, const QString& path) const {
    std::lock_guard lock(librpmMutex());
    const LibRpm* rpm = LibRpm::get();
    static const bool configured = [rpm] {
        if (!rpm)
            return false;
        rpm->logSetMask(RPMLOG_UPTO(RPMLOG_CRIT)); // a missing or locked database is not worth a line
        return rpm->readConfigFiles(nullptr, nullptr) == 0;
    }();
    if (!configured)
        return std::nullopt;
    // The distribution's macros may point elsewhere (Debian's at the user's home): name it.
    rpm->pushMacro(nullptr, "_dbpath", nullptr, QFile::encodeName(dbPath).constData(), RMIL_CMDLINE);
    std::optional<QString> version;
    rpmts ts = rpm->tsCreate();
    rpm->tsSetRootDir(ts, QFile::encodeName(root_).constData());
    if (rpm->tsOpenDB(ts, O_RDONLY) == 0) {
        const QByteArray key = QFile::encodeName(path);
        rpmdbMatchIterator it = rpm->tsInitIterator(ts, RPMDBI_INSTFILENAMES, key.constData(), 0);
        if (Header h = it ? rpm->dbNextIterator(it) : nullptr)
            if (const char* v = rpm->getString(h, RPMTAG_VERSION))
                version = QString::fromUtf8(v);
        rpm->dbFreeIterator(it);
    }
    rpm->tsFree(ts);
    rpm->popMacro(nullptr, "_dbpath");
    return version;
}

bool RpmDatabase::refresh() {
    QMutexLocker lock(&mutex_);
    // Most systems have no rpm database: two failed stats say so.
    QStringList watched;
    for (const QString& folder : dbFolders)
        if (QFileInfo(root_ + folder).isDir())
            for (const QString& file : dbFiles)
                watched << root_ + folder + '/' + file;
    const QByteArray stamp = fileStamp(watched);
    if (stamp == stamp_)
        return false;
    stamp_ = stamp;
    answers_.clear();
    dbPath_.clear();
    for (const QString& folder : dbFolders)
        for (const QString& file : {dbFiles[0], dbFiles[2], dbFiles[3]})
            if (dbPath_.isEmpty() && QFileInfo(root_ + folder + '/' + file).isFile())
                dbPath_ = folder;
    return true;
}

std::optional<QString> RpmDatabase::versionOwning(const QStringList& paths) {
    QMutexLocker lock(&mutex_);
    if (dbPath_.isEmpty())
        return std::nullopt;
    for (const QString& path : paths) {
        auto answer = answers_.constFind(path);
        if (answer == answers_.constEnd())
            answer = answers_.insert(path, query(dbPath_, path));
        if (*answer)
            return *answer;
    }
    return std::nullopt;
}

} // namespace platform::linux_
