#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
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

QString errnoText(const QString& what, const QString& path) {
    return what + ' ' + path + ": " + QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray& content) {
    const char* data = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

} // namespace

QString resolveSymlinks(const QString& path) {
    QString current = QDir::cleanPath(path);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(native(current).constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        QByteArray buffer(4096, Qt::Uninitialized);
        const ssize_t n = readlink(native(current).constData(), buffer.data(), size_t(buffer.size()));
        if (n <= 0)
            return current;
        const QString link = QFile::decodeName(buffer.left(n));
        current = QDir::cleanPath(link.startsWith('/') ? link : QFileInfo(current).path() + '/' + link);
    }
    return current;
}

std::optional<FileSnapshot> readSnapshot(const QString& path) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? std::optional(FileSnapshot{}) : std::nullopt;
    FileSnapshot snapshot{true, {}};
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
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
    if (existed && !S_ISREG(old.st_mode)) {
        *error = target + " is not a regular file";
        return false;
    }
    QString temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = dir + "/." + QFileInfo(target).fileName() + '.' +
               QString::number(QRandomGenerator::global()->generate64(), 36);
        // 0666 so a new file gets the user's umask, as any other program would create it.
        fd = ::open(native(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        *error = errnoText("cannot create a file in", dir);
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
        *error = errnoText("cannot write", temp);
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(native(temp).constData(), native(target).constData()) != 0) {
        *error = errnoText("cannot replace", target);
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
        *error = errnoText("cannot remove", target);
        return false;
    }
    return true;
}

FileLock::FileLock(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    fd_ = ::open(native(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return;
    // Bounded wait: a stopped process holding the lock must not freeze the caller (the GUI thread).
    int rc = -1;
    for (int attempt = 0; attempt < 200; ++attempt) {
        rc = flock(fd_, LOCK_EX | LOCK_NB);
        if (rc == 0 || (errno != EWOULDBLOCK && errno != EINTR))
            break;
        usleep(10 * 1000);
    }
    if (rc != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing releases the lock
}

} // namespace platform::linux_
