// SPDX-License-Identifier: GPL-3.0-or-later
#include "FilePlan.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::linux_ {
namespace {
Q_LOGGING_CATEGORY(lcPlan, "app.tolvane.Tolvane.handlers")

const QByteArray journalMagic = "tolvane-file-plan 1";

bool exists(const QString& path) {
    struct stat st;
    return lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// The folders above `file` that do not exist yet, the outermost first.
QStringList missingFolders(const QString& file) {
    QStringList missing;
    for (QString dir = QFileInfo(file).path(); dir.size() > 1 && !exists(dir); dir = QFileInfo(dir).path())
        missing.prepend(dir);
    return missing;
}

void removeFolders(const QStringList& madeInOrder) {
    // Only empty ones: rmdir never takes anything a user put there meanwhile.
    for (auto it = madeInOrder.rbegin(); it != madeInOrder.rend(); ++it)
        ::rmdir(QFile::encodeName(*it).constData());
}

} // namespace

bool FilePlan::edit(const QString& path, bool onlyExisting, const std::function<void(QByteArray&)>& edit) {
    const QString target = resolveSymlinks(path);
    for (Planned& file : files_) {
        if (file.path == target) {
            edit(file.after);
            return true;
        }
    }
    auto before = readSnapshot(target, &error_);
    if (!before) {
        qCWarning(lcPlan).noquote() << error_;
        return false;
    }
    if (onlyExisting && !before->existed)
        return true;
    QByteArray after = before->content;
    edit(after);
    if (after != before->content || !before->existed)
        files_ << Planned{target, *before, after};
    return true;
}

bool FilePlan::create(const QString& path, const QByteArray& content) {
    return edit(path, false, [&](QByteArray& now) {
        if (now.isEmpty())
            now = content;
    });
}

bool FilePlan::makeExecutable(const QString& path) {
    const QString target = resolveSymlinks(path);
    for (Planned& file : files_)
        if (file.path == target) {
            file.executable = true;
            return true;
        }
    auto before = readSnapshot(target, &error_);
    if (!before)
        return false;
    struct stat st;
    // A file not planned and not there stays so; one already executable needs no write.
    if (before->existed &&
        (stat(QFile::encodeName(target).constData(), &st) != 0 || (st.st_mode & 0111) == 0))
        files_ << Planned{target, *before, before->content, false, true};
    return true;
}

bool FilePlan::remove(const QString& path) {
    auto before = readSnapshot(path);
    if (!before) {
        qCWarning(lcPlan) << "cannot read" << path;
        return false;
    }
    if (before->existed)
        files_ << Planned{path, *before, {}, true};
    return true;
}

const QByteArray* FilePlan::planned(const QString& path) const {
    const QString target = resolveSymlinks(path);
    for (const Planned& file : files_)
        if (file.path == target)
            return &file.after;
    return nullptr;
}

QStringList FilePlan::paths() const {
    QStringList all;
    for (const Planned& file : files_)
        all << file.path;
    return all;
}

bool FilePlan::record(const QStringList& folders, QString* error) const {
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << journalMagic << folders << qint64(files_.size());
    for (const Planned& file : files_)
        out << file.path << file.before.existed << file.before.content << file.after << file.removed;
    // It holds copies of the user's settings: readable by the user alone, like the lock beside it.
    const int fd = ::open(QFile::encodeName(journal_).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    return replaceFileAtomically(journal_, data, error);
}

void FilePlan::dropJournal() const {
    if (!journal_.isEmpty())
        QFile::remove(journal_);
}

bool FilePlan::write(const Replace& replace, QString* error) {
    written_ = 0;
    madeFolders_.clear();
    QStringList folders;
    for (const Planned& file : files_)
        for (const QString& folder : missingFolders(file.path))
            if (!folders.contains(folder))
                folders << folder;
    if (!journal_.isEmpty() && !files_.isEmpty() && !record(folders, error)) {
        dropJournal();
        return false;
    }
    for (; written_ < files_.size(); ++written_) {
        const Planned& file = files_[written_];
        if (file.removed) {
            if (::unlink(QFile::encodeName(file.path).constData()) != 0 && errno != ENOENT) {
                *error = fileError("remove", file.path, errno);
                rollBack();
                return false;
            }
            continue;
        }
        for (const QString& folder : missingFolders(file.path)) {
            if (::mkdir(QFile::encodeName(folder).constData(), 0777) == 0) {
                madeFolders_ << folder;
            } else if (errno != EEXIST) {
                *error = fileError("create the folder", folder, errno);
                rollBack();
                return false;
            }
        }
        if (!replace(file.path, file.after, error)) {
            rollBack();
            return false;
        }
        struct stat st;
        // Executable where it may be read: the mode the user's umask gave it otherwise stays.
        if (file.executable && (stat(QFile::encodeName(file.path).constData(), &st) != 0 ||
                                ::chmod(QFile::encodeName(file.path).constData(),
                                        (st.st_mode & 07777) | ((st.st_mode & 0444) >> 2)) != 0)) {
            *error = fileError("make executable", file.path, errno);
            ++written_;
            rollBack();
            return false;
        }
    }
    return true;
}

void FilePlan::rollBack() {
    while (written_ > 0) {
        const Planned& file = files_[--written_];
        QString error;
        if (!restoreSnapshot(file.path, file.before, &error))
            qCCritical(lcPlan).noquote() << "could not restore" << file.path << error;
    }
    removeFolders(madeFolders_);
    madeFolders_.clear();
    dropJournal();
}

void FilePlan::commit() {
    written_ = 0;
    madeFolders_.clear();
    dropJournal();
}

void FilePlan::recover(const QString& journal) {
    removeStaleTemporaries(journal);
    const auto snapshot = readSnapshot(journal);
    if (!snapshot || !snapshot->existed)
        return;
    QDataStream in(snapshot->content);
    QByteArray magic;
    QStringList folders;
    qint64 count = 0;
    in >> magic >> folders >> count;
    QList<Planned> files;
    for (qint64 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        Planned file;
        in >> file.path >> file.before.existed >> file.before.content >> file.after >> file.removed;
        files << file;
    }
    if (magic != journalMagic || in.status() != QDataStream::Ok) {
        qCWarning(lcPlan) << "ignoring an unreadable journal" << journal;
        QFile::remove(journal);
        return;
    }
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        const auto now = readSnapshot(it->path);
        // Only what this plan wrote is undone; a file someone changed since is theirs.
        const bool asWritten =
            now && (it->removed ? !now->existed : now->existed && now->content == it->after);
        if (asWritten) {
            QString error;
            if (!restoreSnapshot(it->path, it->before, &error))
                qCCritical(lcPlan).noquote() << "could not restore" << it->path << error;
        }
        removeStaleTemporaries(it->path);
    }
    removeFolders(folders);
    qCInfo(lcPlan) << "undid a switch that was cut short";
    QFile::remove(journal);
}

} // namespace platform::linux_
