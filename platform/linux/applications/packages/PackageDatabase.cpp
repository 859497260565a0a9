// SPDX-License-Identifier: GPL-3.0-or-later
#include "PackageDatabase.h"

#include <QFile>

#include <sys/stat.h>

namespace platform::linux_ {

QByteArray fileStamp(const QStringList& files) {
    QByteArray stamp;
    for (const QString& file : files) {
        struct stat st;
        if (stat(QFile::encodeName(file).constData(), &st) != 0) {
            stamp += '-';
            continue;
        }
        const qint64 fields[] = {qint64(st.st_ino),  qint64(st.st_size), st.st_mtim.tv_sec,
                                 st.st_mtim.tv_nsec, st.st_ctim.tv_sec,  st.st_ctim.tv_nsec};
        stamp.append(reinterpret_cast<const char*>(fields), sizeof fields);
    }
    return stamp;
}

bool isLookupPath(QByteArrayView path) {
    return path.endsWith(".desktop") || path.contains("/bin/") || path.contains("/games/");
}

} // namespace platform::linux_
