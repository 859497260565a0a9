#pragma once

#include "AtomicFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace platform::linux_ {

// The files one change will replace, each with its content before, so that the change is made
// whole or not at all.
class FilePlan {
public:
    using Replace = std::function<bool(const QString& path, const QByteArray& content, QString* error)>;

    // Reads `path` (after its symlinks) and lets `edit` change the content; a file that `edit` leaves
    // as it was is not written. With `onlyExisting` a missing file stays missing. False when the
    // file cannot be read.
    bool edit(const QString& path, bool onlyExisting, const std::function<void(QByteArray&)>& edit);
    // Creates `path` with `content` unless it exists.
    bool create(const QString& path, const QByteArray& content);
    // Removes the file at `path` (a link itself, not what it names); a missing one is fine.
    bool remove(const QString& path);
    // The planned content of `path` (as last planned), or none.
    const QByteArray* planned(const QString& path) const;

    // Writes every planned file through `replace`; on the first failure puts back what was
    // written and returns false with `error` set.
    bool write(const Replace& replace, QString* error);
    // Puts back every file written.
    void rollBack();

private:
    struct Planned {
        QString path;
        FileSnapshot before;
        QByteArray after;
        bool removed = false;
    };
    QList<Planned> files_;
    qsizetype written_ = 0;
};

} // namespace platform::linux_
