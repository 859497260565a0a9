// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileImporter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMimeDatabase>
#include <QPointer>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tolvane {

namespace {

// Kinds are matched as the type system does: a subtype of plain text (XML, source code) is text too.
bool isAcceptedKind(const QMimeType& type) {
    const QString name = type.name();
    return name.startsWith(QLatin1String("image/")) || name.startsWith(QLatin1String("video/")) ||
           name.startsWith(QLatin1String("text/")) || type.inherits(QStringLiteral("text/plain")) ||
           type.inherits(QStringLiteral("application/pdf"));
}

ChosenFileContents refusal(ChosenFileContents::Refusal why, QString reason = {}) {
    return {{}, why, std::move(reason)};
}

ChosenFileContents systemError() {
    return refusal(ChosenFileContents::Refusal::unreadable, QString::fromLocal8Bit(std::strerror(errno)));
}

std::optional<ChosenFileContents> refuseUnlessRegular(const struct stat& info, qint64 maxBytes) {
    if (S_ISDIR(info.st_mode))
        return refusal(ChosenFileContents::Refusal::folder);
    if (!S_ISREG(info.st_mode))
        return refusal(ChosenFileContents::Refusal::notRegularFile);
    if (info.st_size > maxBytes)
        return refusal(ChosenFileContents::Refusal::tooLarge);
    return std::nullopt;
}

} // namespace

ChosenFileContents readChosenFile(const QString& path, qint64 maxBytes) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0)
        return systemError();
    if (auto refused = refuseUnlessRegular(info, maxBytes))
        return *refused;
    // Not blocking, in case the name was swapped for a pipe since; checked again on what was opened.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return systemError();
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd,
                                                                  [](const int* open) { ::close(*open); });
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return refusal(ChosenFileContents::Refusal::unreadable, file.errorString());
    if (::fstat(fd, &info) != 0)
        return systemError();
    if (auto refused = refuseUnlessRegular(info, maxBytes))
        return *refused;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // A file may hold more than its size says (one that grows, or a kernel file that claims none).
    ChosenFileContents contents{file.read(maxBytes + 1), ChosenFileContents::Refusal::none, {}};
    if (file.error() != QFileDevice::NoError)
        return refusal(ChosenFileContents::Refusal::unreadable, file.errorString());
    if (contents.data.size() > maxBytes)
        return refusal(ChosenFileContents::Refusal::tooLarge);
    return contents;
}

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
