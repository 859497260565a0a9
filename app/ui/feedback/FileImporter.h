// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QWidget;

namespace Tolvane {

// How a file picker ended: the files chosen (none when the user backed out), or why it failed.
struct FileImportResult {
    QList<QUrl> urls;
    std::optional<QString> error;
};

using FileImportCompletion = std::function<void(FileImportResult)>;

// Presents a picker for one image, video, text or PDF file over `parent` and reports through `completion`
// exactly once. Returns the picker when it stays up after the call (so it can be taken down), else null.
using FileImporter = std::function<QWidget*(QWidget* parent, FileImportCompletion completion)>;

// The desktop's picker: a file dialog showing only the accepted kinds, one file at a time.
FileImporter dialogFileImporter();

// What reading a chosen file gave: its bytes, or why they were not read.
struct ChosenFileContents {
    enum class Refusal { none, folder, notRegularFile, tooLarge, unreadable };
    QByteArray data;
    Refusal refusal = Refusal::none;
    QString reason; // the system's words, for `unreadable`
};

// Reads the file at `path` without trusting what the user named: only a regular file (links followed) is
// opened at all, so a named pipe cannot block the caller and a device cannot be read without end; and
// at most `maxBytes` + 1 bytes are read, whatever size the file claims.
ChosenFileContents readChosenFile(const QString& path, qint64 maxBytes);

// The dialog's one name filter: every file-name pattern of an image, video, text or PDF type known to the
// MIME database.
QString acceptedFilesNameFilter();

} // namespace Tolvane
