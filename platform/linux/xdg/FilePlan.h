// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AtomicFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace platform::linux_ {

// The files one change will replace, each with its content before, so that the change is made
// whole or not at all: a failure puts back what was written, and with a journal a process killed
// half-way has its change undone by the next run.
class FilePlan {
public:
    using Replace = std::function<bool(const QString& path, const QByteArray& content, QString* error)>;

    // Reads `path` (after its symlinks) and lets `edit` change the content; a file that `edit` leaves
    // as it was is not written. With `onlyExisting` a missing file stays missing. False when the
    // file cannot be read; error() then says which file and why.
    bool edit(const QString& path, bool onlyExisting, const std::function<void(QByteArray&)>& edit);
    // Creates `path` with `content` unless it exists.
    bool create(const QString& path, const QByteArray& content);
    // Makes the planned file at `path` executable by whoever may read it, also when its content
    // stays: a command that other programs start. False when the file cannot be read.
    bool makeExecutable(const QString& path);
    // Removes the file at `path` (a link itself, not what it names); a missing one is fine.
    bool remove(const QString& path);
    // The planned content of `path` (as last planned), or none.
    const QByteArray* planned(const QString& path) const;
    // Every file the plan changes, after its symlinks.
    QStringList paths() const;
    // Why the last edit() failed.
    const QString& error() const { return error_; }

    // Where write() records the plan before it touches a file; see recover().
    void setJournal(const QString& path) { journal_ = path; }
    // Writes every planned file through `replace`, making the folders they need; on the first
    // failure puts back what was written and returns false with `error` set.
    bool write(const Replace& replace, QString* error);
    // Puts back every file written and removes the folders write() made.
    void rollBack();
    // The written change stands: the journal is dropped.
    void commit();

    // Undoes the plan a killed process left in `journal`: files that still hold what it wrote get
    // their old content back, its temporary files and the empty folders it made go. Run under the
    // lock the writer held.
    static void recover(const QString& journal);

private:
    struct Planned {
        QString path;
        FileSnapshot before;
        QByteArray after;
        bool removed = false;
        bool executable = false;
    };
    bool record(const QStringList& folders, QString* error) const;
    void dropJournal() const;

    QList<Planned> files_;
    qsizetype written_ = 0;
    QStringList madeFolders_; // in the order made
    QString journal_;
    QString error_;
};

} // namespace platform::linux_
