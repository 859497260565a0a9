// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegularFile.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tolvane::links {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Tolvane::links", text);
}

QString sizeText(qint64 bytes) {
    if (bytes >= 1024 * 1024)
        return tr("%1 MiB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1);
    if (bytes >= 1024)
        return tr("%1 KiB").arg(double(bytes) / 1024, 0, 'f', 1);
    return tr("%1 bytes").arg(bytes);
}

} // namespace

std::optional<RegularFile> readRegularFile(const QString& path, qint64 maxSize, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    // Opened without waiting: a named pipe in the file's place must not hold a link up.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return RegularFile{};
        *error =
            tr("Could not read \u201c%1\u201d: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        *error = tr("Could not read \u201c%1\u201d: it is not a regular file").arg(path);
        return std::nullopt;
    }
    if (st.st_size > maxSize) {
        ::close(fd);
        *error = tr("Could not read \u201c%1\u201d: it holds %2, more than the %3 it may hold")
                     .arg(path, sizeText(st.st_size), sizeText(maxSize));
        return std::nullopt;
    }
    RegularFile file{true, QByteArray(st.st_size, Qt::Uninitialized)};
    qsizetype got = 0;
    while (got < file.content.size()) {
        const ssize_t n = ::read(fd, file.content.data() + got, file.content.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = tr("Could not read \u201c%1\u201d: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    file.content.truncate(got);
    return file;
}

} // namespace Tolvane::links
