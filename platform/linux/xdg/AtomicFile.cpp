// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::linux_ {
namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

bool writeAll(int fd, const QByteArray& content) {
    const char* data = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// Marks a replacement's temporary file as ours, so a later run can tell its own leftovers.
const QLatin1String temporaryTag(".tolvane-");

QString temporaryPrefix(const QString& target) {
    return '.' + QFileInfo(target).fileName() + temporaryTag;
}

QString joined(const QString& dir, const QString& name) {
    return (dir == QLatin1String("/") ? QString() : dir) + '/' + name;
}

QString notRegular(const QString& what, const QString& path) {
    return QStringLiteral("Could not %1 \u201c%2\u201d: it is not a regular file").arg(what, path);
}

// The real path of a folder that may not exist yet: its longest existing part as the kernel
// resolves it, then the missing rest as written.
QString realFolder(const QString& dir) {
    if (char* real = ::realpath(native(dir).constData(), nullptr)) {
        const QString resolved = QFile::decodeName(real);
        free(real);
        return resolved;
    }
    const qsizetype slash = dir.lastIndexOf('/');
    if (slash < 0 || dir == QLatin1String("/"))
        return dir;
    const QString base = realFolder(slash == 0 ? QStringLiteral("/") : dir.left(slash));
    const QString name = dir.mid(slash + 1);
    if (name.isEmpty() || name == QLatin1String("."))
        return base;
    if (name == QLatin1String(".."))
        return QFileInfo(base).path();
    return joined(base, name);
}

} // namespace

QString fileError(const QString& what, const QString& path, int error) {
    return QStringLiteral("Could not %1 \u201c%2\u201d: %3")
        .arg(what, path, QString::fromLocal8Bit(std::strerror(error)));
}

QString resolveSymlinks(const QString& path) {
    // Not cleaned as text: "link/.." is where the kernel goes from the link's target, not from here.
    QString current = QDir::isAbsolutePath(path) ? path : joined(QDir::currentPath(), path);
    for (int hops = 0; hops < 40; ++hops) {
        const qsizetype slash = current.lastIndexOf('/');
        const QString dir = realFolder(slash <= 0 ? QStringLiteral("/") : current.left(slash));
        const QString name = current.mid(slash + 1);
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
            return realFolder(joined(dir, name));
        current = joined(dir, name);
        struct stat st;
        if (lstat(native(current).constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        QByteArray buffer(4096, Qt::Uninitialized);
        const ssize_t n = readlink(native(current).constData(), buffer.data(), size_t(buffer.size()));
        if (n <= 0)
            return current;
        const QString link = QFile::decodeName(buffer.left(n));
        current = link.startsWith('/') ? link : joined(dir, link);
    }
    return current;
}

std::optional<FileSnapshot> readSnapshot(const QString& path, QString* error) {
    const auto fail = [&](const QString& why) -> std::optional<FileSnapshot> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    // A named pipe or a device in a file's place would block the reader (and the switch lock) or
    // have effects of its own, so only a regular file is opened.
    struct stat st;
    if (stat(native(path).constData(), &st) != 0)
        return errno == ENOENT ? std::optional(FileSnapshot{}) : fail(fileError("read", path, errno));
    if (!S_ISREG(st.st_mode))
        return fail(notRegular("read", path));
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? std::optional(FileSnapshot{}) : fail(fileError("read", path, errno));
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) { // replaced in between
        ::close(fd);
        return fail(notRegular("read", path));
    }
    FileSnapshot snapshot{true, {}};
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int saved = errno;
            ::close(fd);
            return fail(fileError("read", path, saved));
        }
        if (n == 0)
            break;
        snapshot.content.append(buffer, n);
    }
    ::close(fd);
    return snapshot;
}

bool replaceFileAtomically(const QString& path, const QByteArray& content, QString* error) {
    const QString target = resolveSymlinks(path);
    const QString dir = QFileInfo(target).path();
    struct stat old;
    const bool existed = stat(native(target).constData(), &old) == 0;
    if (!existed && errno != ENOENT) {
        *error = fileError("write", target, errno);
        return false;
    }
    if (existed && !S_ISREG(old.st_mode)) {
        *error = notRegular("write", target);
        return false;
    }
    // Created with the old file's permissions (a new file with the user's umask, as any other
    // program would create it), so no one else can read the new content before it is in place.
    const mode_t mode = existed ? (old.st_mode & 0777) : 0666;
    QString temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = dir + '/' + temporaryPrefix(target) +
               QString::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::open(native(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        *error = fileError("write", target, errno);
        return false;
    }
    bool ok = writeAll(fd, content);
    if (ok && existed) {
        ok = fchmod(fd, old.st_mode & 07777) == 0;
        if (ok && (old.st_uid != geteuid() || old.st_gid != getegid()))
            (void)!fchown(fd, old.st_uid, old.st_gid); // best effort: only root may give files away
    }
    ok = ok && fsync(fd) == 0;
    if (!ok)
        *error = fileError("write", target, errno);
    if (::close(fd) != 0 && ok) {
        *error = fileError("write", target, errno);
        ok = false;
    }
    if (ok && ::rename(native(temp).constData(), native(target).constData()) != 0) {
        *error = fileError("replace", target, errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(native(temp).constData());
        return false;
    }
    // The folder is not synced: after a crash either the old or the new file is there, whole.
    return true;
}

bool restoreSnapshot(const QString& path, const FileSnapshot& snapshot, QString* error) {
    if (snapshot.existed)
        return replaceFileAtomically(path, snapshot.content, error);
    const QString target = resolveSymlinks(path);
    if (::unlink(native(target).constData()) != 0 && errno != ENOENT) {
        *error = fileError("remove", target, errno);
        return false;
    }
    return true;
}

void removeStaleTemporaries(const QString& path) {
    const QString target = resolveSymlinks(path);
    QDir dir(QFileInfo(target).path());
    const QStringList stale =
        dir.entryList({temporaryPrefix(target) + '*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : stale)
        dir.remove(name);
}

FileLock::FileLock(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    fd_ = ::open(native(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd_ < 0) {
        error_ = fileError("open", path, errno);
        return;
    }
    // Bounded wait: a stopped process holding the lock must not freeze the caller (the GUI thread).
    int rc = -1;
    for (int attempt = 0; attempt < 200; ++attempt) {
        rc = flock(fd_, LOCK_EX | LOCK_NB);
        if (rc == 0 || (errno != EWOULDBLOCK && errno != EINTR))
            break;
        usleep(10 * 1000);
    }
    if (rc != 0) {
        error_ = QStringLiteral("\u201c%1\u201d is held by another switch").arg(path);
        ::close(fd_);
        fd_ = -1;
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing releases the lock
}

} // namespace platform::linux_
