// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeedbackView.h"

#include "AppDisplayName.h"
#include "ElidedLabel.h"
#include "FocusRing.h"

#include "FeedbackEnvironmentObserver.h"
#include "RizazozaZAZClient.h"
#include "RizazozaZAZError.h"
#include "URLError.h"
#include "URLSession.h"

#include "TaskButtons/AsyncButton.h"
#include "platform/Alert.h"
#include "platform/Console.h"
#include "platform/MainBundle.h"
#include "platform/Services.h"
#include "platform/SystemInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeDatabase>
#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <stop_token>

namespace Tolvane {

namespace {

std::optional<QUrl>& serviceURLOverride() {
    static std::optional<QUrl> url;
    return url;
}

// An attachment the user chose but that cannot be read now.
class AttachmentReadError : public std::exception {
public:
    AttachmentReadError(const QString& fileName, const QString& reason)
        : description_(QCoreApplication::translate("FeedbackView", "The file “%1” could not be read: %2")
                           .arg(fileName, reason)),
          utf8_(description_.toUtf8()) {}
    QString description() const { return description_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString description_;
    QByteArray utf8_;
};

struct Attachment {
    QString fileName;
    QByteArray data;
    QString contentType;
};

QString filePath(const QUrl& url) {
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

QString lastPathComponent(const QUrl& url) {
    return url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : url.fileName();
}

// Nothing when the kind is not accepted: the message then goes without it. Throws when it cannot be read.
std::optional<Attachment> readAttachment(const QUrl& url) {
    const std::optional<QString> type = FeedbackView::attachmentContentType(url);
    if (!type)
        return std::nullopt;
    const QString name = lastPathComponent(url);
    if (!url.isLocalFile())
        throw AttachmentReadError(name, QCoreApplication::translate("FeedbackView", "not a local file"));
    // The whole file goes into memory and into the request body; a huge video must not exhaust memory.
    ChosenFileContents file = readChosenFile(url.toLocalFile(), FeedbackView::maximumAttachmentSize);
    switch (file.refusal) {
    case ChosenFileContents::Refusal::none:
        break;
    case ChosenFileContents::Refusal::folder:
        throw AttachmentReadError(name, QCoreApplication::translate("FeedbackView", "it is a folder"));
    case ChosenFileContents::Refusal::notRegularFile:
        throw AttachmentReadError(name,
                                  QCoreApplication::translate("FeedbackView", "it is not a regular file"));
    case ChosenFileContents::Refusal::tooLarge:
        throw AttachmentReadError(
            name, QCoreApplication::translate("FeedbackView", "the file is larger than %1 MiB")
                      .arg(FeedbackView::maximumAttachmentSize / (1024 * 1024)));
    case ChosenFileContents::Refusal::unreadable:
        throw AttachmentReadError(name, file.reason);
    }
    QByteArray data = std::move(file.data);
    return Attachment{name, std::move(data), *type};
}

QString describe(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Tellwick::RizazozaZAZError& e) {
        return e.description();
    } catch (const Tellwick::URLError& e) {
        return e.description();
    } catch (const AttachmentReadError& e) {
        return e.description();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QCoreApplication::translate("FeedbackView", "Unknown error");
}

// What the alert tells the user: the network layer's own text names hosts and sockets, not what to do.
QString explain(std::exception_ptr error, const QString& description) {
    try {
        std::rethrow_exception(error);
    } catch (const Tellwick::URLError& e) {
        switch (e.code()) {
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::RemoteHostClosedError:
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::TimeoutError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::UnknownNetworkError:
        case QNetworkReply::ProxyConnectionRefusedError:
        case QNetworkReply::ProxyConnectionClosedError:
        case QNetworkReply::ProxyNotFoundError:
        case QNetworkReply::ProxyTimeoutError:
            return QCoreApplication::translate("FeedbackView",
                                               "%1 could not reach the feedback service. Check that this "
                                               "computer is connected to the internet, then try again.")
                .arg(appDisplayName());
        case QNetworkReply::SslHandshakeFailedError:
            return QCoreApplication::translate("FeedbackView",
                                               "The feedback service could not be reached securely, so "
                                               "nothing was sent. Try again later.");
        default:
            break;
        }
    } catch (...) {
    }
    return description;
}

// What goes along with every message, so the user knows before pressing Submit.
QString sentAlongText() {
    // Without the system's facts (a window made before they are installed) the note still says what.
    if (!platform::has<platform::SystemInfo>() || !platform::has<platform::MainBundle>())
        return QCoreApplication::translate("FeedbackView", "Sent with your message: the version of this "
                                                           "application, your system's version and your "
                                                           "computer's model.");
    const QMap<QString, QString> values = Tellwick::FeedbackEnvironmentObserver().environmentValues();
    return QCoreApplication::translate("FeedbackView", "Sent with your message: the version of %1 (%2), "
                                                       "your system (%3 %4) and your computer's model (%5).")
        .arg(appDisplayName(), values.value(QStringLiteral("app version")),
             values.value(QStringLiteral("system")), values.value(QStringLiteral("os")),
             values.value(QStringLiteral("model")));
}

// The network layer stops on a std::stop_token; the button cancels through its own token.
class StopOnCancel {
public:
    explicit StopOnCancel(const TaskButtons::CancellationToken& token) {
        if (token.isCancelled())
            source_.request_stop();
        connection_ =
            QObject::connect(token.notifier(), &TaskButtons::detail::CancellationState::cancelRequested,
                             [source = source_]() mutable { source.request_stop(); });
    }
    ~StopOnCancel() { QObject::disconnect(connection_); }
    StopOnCancel(const StopOnCancel&) = delete;
    StopOnCancel& operator=(const StopOnCancel&) = delete;

    std::stop_token token() const { return source_.get_token(); }

private:
    std::stop_source source_;
    QMetaObject::Connection connection_;
};

// The stack's items carry extra room below them on top of the stack's spacing.
QWidget* paddedBelow(QWidget* content, int padding) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, padding);
    layout->setSpacing(0);
    layout->addWidget(content);
    return box;
}

} // namespace

FeedbackView::FeedbackView(QWidget* parent)
    : QWidget(parent), dismiss_([this] {
          if (QWidget* top = window())
              top->close();
      }),
      importer_(dialogFileImporter()) {
    setFixedWidth(400);
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(20, 20, 20, 20);
    stack->setSpacing(20);

    auto* title = new QLabel(tr("Send Feedback"));
    title->setObjectName(QStringLiteral("title"));
    QFont largeTitle = title->font();
    largeTitle.setPixelSize(26);
    title->setFont(largeTitle);
    stack->addWidget(paddedBelow(title, 10), 0, Qt::AlignLeft);

    editor_ = new QPlainTextEdit;
    editor_->setObjectName(QStringLiteral("feedbackText"));
    editor_->setFixedHeight(200);
    editor_->setAccessibleName(tr("Message"));
    // Tab moves on to the next control, as everywhere else; a tab character is rarely wanted here.
    editor_->setTabChangesFocus(true);
    // A style-sheet border is drawn inside the widget's rectangle.
    editor_->setStyleSheet(QStringLiteral("QPlainTextEdit#feedbackText { border: 1px solid gray; }"));
    stack->addWidget(paddedBelow(editor_, 10));

    auto* attachmentRow = new QHBoxLayout;
    attachmentRow->setSpacing(8);
    attachmentRow->addWidget(new QLabel(tr("Attachment:")), 0, Qt::AlignVCenter);
    attachmentName_ = new ElidedLabel;
    attachmentName_->setObjectName(QStringLiteral("attachmentName"));
    attachmentName_->hide();
    attachmentRow->addWidget(attachmentName_, 1, Qt::AlignVCenter);
    attachmentRow->addStretch(0);
    chooseFile_ = new QPushButton(tr("Choose File"));
    connect(chooseFile_, &QPushButton::clicked, this, [this] { setShowFilePicker(!showFilePicker_); });
    attachmentRow->addWidget(chooseFile_, 0, Qt::AlignVCenter);
    stack->addLayout(attachmentRow);

    // Said before anything is sent: what goes along with the message besides what the user wrote.
    sentAlong_ = new QLabel(sentAlongText());
    sentAlong_->setObjectName(QStringLiteral("sentAlong"));
    sentAlong_->setWordWrap(true);
    sentAlong_->setForegroundRole(QPalette::PlaceholderText);
    QFont caption = sentAlong_->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    sentAlong_->setFont(caption);
    stack->addWidget(sentAlong_);

    auto* submitRow = new QHBoxLayout;
    submitRow->addStretch(1);
    submit_ = new TaskButtons::AsyncButton(
        TaskButtons::LocalizedStringKey("FeedbackView", QT_TRANSLATE_NOOP("FeedbackView", "Submit")),
        TaskButtons::AsyncButton::SimpleAction(
            [this](TaskButtons::CancellationToken token) { return submit(std::move(token)); }));
    // Return presses Submit from anywhere in the window but the editor, which keeps it for new lines.
    submit_->setDefaultAction();
    submitRow->addWidget(submit_, 0, Qt::AlignVCenter);
    stack->addLayout(submitRow);
    // A default button looks the same with and without the focus.
    new FocusRing(submit_, this);

    // Nothing to send until something is written or attached.
    const auto updateSubmit = [this] {
        submit_->setEnabled(attachmentURL_.has_value() || !editor_->toPlainText().trimmed().isEmpty());
    };
    connect(editor_, &QPlainTextEdit::textChanged, this, updateSubmit);
    connect(this, &FeedbackView::attachmentURLChanged, this, updateSubmit);
    updateSubmit();

    editor_->setFocus();
}

FeedbackView::~FeedbackView() = default;

QString FeedbackView::feedbackText() const {
    return editor_->toPlainText();
}

void FeedbackView::setFeedbackText(const QString& text) {
    editor_->setPlainText(text);
}

void FeedbackView::setAttachmentURL(std::optional<QUrl> url) {
    attachmentURL_ = std::move(url);
    attachmentName_->setText(attachmentURL_ ? lastPathComponent(*attachmentURL_) : QString());
    attachmentName_->setVisible(attachmentURL_.has_value());
    emit attachmentURLChanged();
}

void FeedbackView::setShowFilePicker(bool show) {
    if (show == showFilePicker_)
        return;
    showFilePicker_ = show;
    if (show) {
        QWidget* picker = importer_(this, [self = QPointer<FeedbackView>(this)](FileImportResult result) {
            if (self)
                self->importFinished(result);
        });
        // A picker that already answered is gone.
        if (showFilePicker_)
            picker_ = picker;
    } else if (picker_) {
        // Closing the picker ends it as backed out.
        picker_->close();
    }
}

void FeedbackView::importFinished(const FileImportResult& result) {
    showFilePicker_ = false;
    picker_.clear();
    if (result.error) {
        platform::printLine("Error selecting file: " + *result.error);
        return;
    }
    if (!result.urls.isEmpty())
        setAttachmentURL(result.urls.first());
}

QCoro::Task<> FeedbackView::submit(TaskButtons::CancellationToken token) {
    // The view may be gone when a wait ends: after each co_await only `self` is used.
    QPointer<FeedbackView> self(this);
    const QString text = feedbackText();
    const std::optional<QUrl> attachment = attachmentURL_;
    const Tellwick::RizazozaZAZClient client(QString::fromLatin1(applicationKey), Tellwick::sharedSession(),
                                             serviceURL());
    const QMap<QString, QString> attributes = Tellwick::FeedbackEnvironmentObserver().environmentValues();

    // The log says that feedback went out, never what the user wrote.
    platform::printLine(QStringLiteral("Feedback submitted"));
    if (attachment)
        platform::printLine("Attachment: " + filePath(*attachment));

    StopOnCancel stop(token);
    std::exception_ptr failure;
    try {
        std::optional<Attachment> upload = attachment ? readAttachment(*attachment) : std::nullopt;
        if (upload) {
            auto sending = client.submitFeedback(text, upload->fileName, std::move(upload->data),
                                                 upload->contentType, std::nullopt, attributes, stop.token());
            co_await sending;
        } else {
            auto sending = client.submitFeedback(text, attributes, stop.token());
            co_await sending;
        }
    } catch (...) {
        failure = std::current_exception();
    }

    if (!failure) {
        if (self)
            self->dismiss_();
        co_return;
    }
    const QString description = describe(failure);
    platform::printLine("Error sending feedback: " + description);
    // A closed window has no one left to tell.
    if (self) {
        platform::AlertRequest alert;
        alert.messageText = QCoreApplication::translate("FeedbackView", "Connection unsuccessful");
        alert.informativeText = explain(failure, description);
        alert.style = platform::AlertRequest::Style::Warning;
        alert.window = self->window();
        platform::get<platform::Alert>()->runModal(alert);
    }
    // The button counts it as a failed run.
    std::rethrow_exception(failure);
}

std::optional<QString> FeedbackView::attachmentContentType(const QUrl& url) {
    const QString extension = QFileInfo(url.isLocalFile() ? url.toLocalFile() : url.path()).suffix();
    if (extension.isEmpty())
        return std::nullopt;
    // By extension alone, never by the file's contents or its full name.
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(QStringLiteral("file.") + extension, QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return std::nullopt;
    const QString mime = type.name().toLower();
    if (mime.startsWith(QLatin1String("image/")) || mime.startsWith(QLatin1String("video/")) ||
        mime.startsWith(QLatin1String("text/")) || mime == QLatin1String("application/pdf"))
        return mime;
    return std::nullopt;
}

QUrl FeedbackView::serviceURL() {
    return serviceURLOverride().value_or(Tellwick::RizazozaZAZClient::defaultInstanceURL());
}

void FeedbackView::setServiceURL(std::optional<QUrl> url) {
    serviceURLOverride() = std::move(url);
}

} // namespace Tolvane
