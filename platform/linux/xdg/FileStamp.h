// SPDX-License-Identifier: GPL-3.0-or-later
// Telling whether a file changed without reading it.
#pragma once

#include <QtGlobal>

#include <sys/stat.h>
#include <sys/types.h>

namespace platform::linux_ {

// Inode, size and times of a file: while they stay the same, so does the file (once its times are
// older than any clock tick that could hide a second write).
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;

    static FileStamp of(const struct stat& st);
    // Whether a later change must show in the stamp: both times lie before `ns` minus `tickNs`.
    bool settledBefore(qint64 ns, qint64 tickNs) const;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// CLOCK_REALTIME in nanoseconds, the clock file times are taken from.
qint64 wallClockNs();

} // namespace platform::linux_
