// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform::linux_ {

// The file a path finally names, as the kernel resolves it: every link on the way is followed
// (a relative one from the real folder it sits in), also a dangling last link; folders that do not
// exist yet stay as written.
QString resolveSymlinks(const QString& path);

// A file's content before a change, so the change can be undone.
struct FileSnapshot {
    bool existed = false;
    QByteArray content;
};
// Reads `path`; a missing file is an empty snapshot, any other failure is none and `error` (when
// given) names the file and the system's reason. Never waits on a pipe or device: only a regular
// file is read.
std::optional<FileSnapshot> readSnapshot(const QString& path, QString* error = nullptr);

// Replaces the file at `path` (after following symlinks) with `content` in one step: a temporary
// file in the same folder, created with the final mode, flushed to disk, renamed over the old one;
// the old mode and owner are kept. On failure the old file is untouched and `error` says why.
bool replaceFileAtomically(const QString& path, const QByteArray& content, QString* error);
// Puts a snapshot back: its content, or no file when there was none.
bool restoreSnapshot(const QString& path, const FileSnapshot& snapshot, QString* error);
// Removes the temporary files a replacement of `path` left when its process was killed.
void removeStaleTemporaries(const QString& path);

// "Could not <what> “<path>”: <the system's reason for errno>", the way a user sees a failed file.
QString fileError(const QString& what, const QString& path, int error);

// An exclusive advisory lock on a lock file, held for the object's life; gives up after about 2 s.
class FileLock {
public:
    explicit FileLock(const QString& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool isLocked() const { return fd_ >= 0; }
    // Why the lock was not taken.
    const QString& error() const { return error_; }

private:
    int fd_ = -1;
    QString error_;
};

} // namespace platform::linux_
