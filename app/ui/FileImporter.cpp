#include "FileImporter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMimeDatabase>
#include <QPointer>
#include <QSet>

#include <algorithm>
#include <utility>

namespace Tolvane {

namespace {

// Kinds are matched as the type system does: a subtype of plain text (XML, source code) is text too.
bool isAcceptedKind(const QMimeType& type) {
    const QString name = type.name();
    return name.startsWith(QLatin1String("image/")) || name.startsWith(QLatin1String("video/")) ||
           name.startsWith(QLatin1String("text/")) || type.inherits(QStringLiteral("text/plain")) ||
           type.inherits(QStringLiteral("application/pdf"));
}

} // namespace

QString acceptedFilesNameFilter() {
    QSet<QString> seen;
    QStringList patterns;
    for (const QMimeType& type : QMimeDatabase().allMimeTypes()) {
        if (!isAcceptedKind(type))
            continue;
        for (const QString& pattern : type.globPatterns())
            if (!seen.contains(pattern)) {
                seen.insert(pattern);
                patterns << pattern;
            }
    }
    std::sort(patterns.begin(), patterns.end());
    return QCoreApplication::translate("FeedbackView", "Images, videos, text and PDF documents") + " (" +
           patterns.join(QLatin1Char(' ')) + ')';
}

FileImporter dialogFileImporter() {
    return [](QWidget* parent, FileImportCompletion completion) -> QWidget* {
        auto* dialog = new QFileDialog(parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        // The same dialog on every desktop, and one the tests can drive offscreen.
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setOption(QFileDialog::HideNameFilterDetails);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setNameFilter(acceptedFilesNameFilter());
        dialog->setWindowModality(Qt::WindowModal);
        // A dialog can be finished more than once; the caller hears only the first end.
        QObject::connect(dialog, &QFileDialog::finished, dialog,
                         [dialog, completion = std::move(completion), answered = false](int result) mutable {
                             if (std::exchange(answered, true))
                                 return;
                             FileImportResult outcome;
                             if (result == QDialog::Accepted)
                                 outcome.urls = dialog->selectedUrls();
                             completion(outcome);
                         });
        // Not exec(): the picker must not run an event loop of its own.
        dialog->open();
        return dialog;
    };
}

} // namespace Tolvane
