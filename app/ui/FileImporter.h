#pragma once

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

// The dialog's one name filter: every file-name pattern of an image, video, text or PDF type known to the
// MIME database.
QString acceptedFilesNameFilter();

} // namespace Tolvane
