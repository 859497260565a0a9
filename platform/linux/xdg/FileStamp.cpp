// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileStamp.h"

#include <time.h>

namespace platform::linux_ {
namespace {

qint64 nanoseconds(const struct timespec& t) {
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

FileStamp FileStamp::of(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size, nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
}

bool FileStamp::settledBefore(qint64 ns, qint64 tickNs) const {
    return mtimeNs < ns - tickNs && ctimeNs < ns - tickNs;
}

qint64 wallClockNs() {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

} // namespace platform::linux_
