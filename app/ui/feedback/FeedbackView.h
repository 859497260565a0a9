// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileImporter.h"

#include "TaskButtons/CancellationToken.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace TaskButtons {
class AsyncButton;
}

namespace Tolvane {

class ElidedLabel;

// The content of the "Send Feedback" window: a message, an optional attachment, and the submit button
// that sends both to the maker's feedback service.
class FeedbackView : public QWidget {
    Q_OBJECT
public:
    // Identifies this application to the feedback service.
    static constexpr const char* applicationKey = "3f1c7a52-6d0e-4b8a-9e21-7c4d5b0a8f36";
    // Larger attachments are refused with a read error instead of being loaded whole.
    static constexpr qint64 maximumAttachmentSize = qint64(256) * 1024 * 1024;

    explicit FeedbackView(QWidget* parent = nullptr);
    ~FeedbackView() override;

    QString feedbackText() const;
    void setFeedbackText(const QString& text);
    const std::optional<QUrl>& attachmentURL() const { return attachmentURL_; }

    // Presents the file importer while true; the importer's end sets it back to false.
    bool showFilePicker() const { return showFilePicker_; }
    void setShowFilePicker(bool show);

    // Closes the window; by default the top-level window the view sits in.
    void setDismiss(std::function<void()> dismiss) { dismiss_ = std::move(dismiss); }
    void setFileImporter(FileImporter importer) { importer_ = std::move(importer); }

    // Sends the message, with the attachment when its kind is accepted. Dismisses the view on success;
    // on failure shows an alert and throws the error on to the button. Never clears what was typed.
    QCoro::Task<> submit(TaskButtons::CancellationToken token);

    // The attachment's media type by its file-name extension, when it is an image, video, text or PDF.
    static std::optional<QString> attachmentContentType(const QUrl& url);

    // Where messages go; the service's own address unless set (the tests point it at a local server).
    static QUrl serviceURL();
    static void setServiceURL(std::optional<QUrl> url);

    QPlainTextEdit* editor() const { return editor_; }
    ElidedLabel* attachmentLabel() const { return attachmentName_; }
    QPushButton* chooseFileButton() const { return chooseFile_; }
    TaskButtons::AsyncButton* submitButton() const { return submit_; }
    // Says what goes along with the message (versions and model).
    QLabel* sentAlongNote() const { return sentAlong_; }

signals:
    void attachmentURLChanged();

private:
    void importFinished(const FileImportResult& result);
    void setAttachmentURL(std::optional<QUrl> url);

    std::function<void()> dismiss_;
    FileImporter importer_;
    std::optional<QUrl> attachmentURL_;
    bool showFilePicker_ = false;
    QPointer<QWidget> picker_;

    QPlainTextEdit* editor_;
    ElidedLabel* attachmentName_;
    QPushButton* chooseFile_;
    TaskButtons::AsyncButton* submit_;
    QLabel* sentAlong_;
};

} // namespace Tolvane
