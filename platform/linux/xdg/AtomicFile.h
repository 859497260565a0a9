#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform::linux_ {

// The file a path finally names, following a chain of symbolic links (also a dangling one).
QString resolveSymlinks(const QString& path);

// A file's content before a change, so the change can be undone.
struct FileSnapshot {
    bool existed = false;
    QByteArray content;
};
// Reads `path`; a missing file is an empty snapshot, any other failure is none.
std::optional<FileSnapshot> readSnapshot(const QString& path);

// Replaces the file at `path` (after following symlinks) with `content` in one step: a temporary
// file in the same folder, flushed to disk, renamed over the old one; the old mode and owner
// are kept. On failure the old file is untouched and `error` says why.
bool replaceFileAtomically(const QString& path, const QByteArray& content, QString* error);
// Puts a snapshot back: its content, or no file when there was none.
bool restoreSnapshot(const QString& path, const FileSnapshot& snapshot, QString* error);

// An exclusive advisory lock on a lock file, held for the object's life; gives up after about 2 s.
class FileLock {
public:
    explicit FileLock(const QString& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool isLocked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace platform::linux_
