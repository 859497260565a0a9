// SPDX-License-Identifier: GPL-3.0-or-later
#include "URLSession.h"

#include "URLError.h"

#include <QCoreApplication>
#include <QCoroNetworkReply>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <memory>

namespace Tellwick {

QNetworkAccessManager* sharedSession() {
    static QPointer<QNetworkAccessManager> session;
    Q_ASSERT(!QCoreApplication::instance() ||
             QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!session)
        session = new QNetworkAccessManager(QCoreApplication::instance());
    return session;
}

namespace {

// Qt reports 4xx/5xx answers as errors of these kinds once the whole body has arrived; they are answers,
// for the caller's status check. Every other error is the transport's.
bool isStatusCodeError(QNetworkReply::NetworkError error) {
    return (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError) ||
           error == QNetworkReply::ProtocolInvalidOperationError ||
           error == QNetworkReply::ProxyAuthenticationRequiredError ||
           (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}

struct DeleteLater {
    void operator()(QNetworkReply* reply) const { reply->deleteLater(); }
};

QNetworkReply* send(QNetworkAccessManager* session, const URLRequest& request) {
    const QByteArray& method = request.httpMethod;
    const QByteArray body = request.httpBody.value_or(QByteArray());
    // The dedicated calls let non-HTTP schemes answer too; anything else goes out as a custom verb.
    if (method == "GET" && !request.httpBody)
        return session->get(request.request);
    if (method == "DELETE" && !request.httpBody)
        return session->deleteResource(request.request);
    if (method == "POST")
        return session->post(request.request, body);
    if (method == "PUT")
        return session->put(request.request, body);
    return session->sendCustomRequest(request.request, method, body);
}

} // namespace

QCoro::Task<std::pair<QByteArray, URLResponse>> data(QNetworkAccessManager* session, URLRequest request,
                                                     std::stop_token stop) {
    if (stop.stop_requested())
        throw URLError(QNetworkReply::OperationCanceledError, QStringLiteral("Operation canceled"));

    std::unique_ptr<QNetworkReply, DeleteLater> reply(send(session, request));
    // Qt ends a transfer that hit its time-out as canceled, like an abort; only ours set this.
    auto stoppedByCaller = std::make_shared<std::atomic<bool>>(false);
    {
        // The stop may be requested from any thread, and abort() finishes the reply at once; queued, the
        // abort runs on the reply's thread and resumes us from the event loop, not from inside
        // request_stop().
        std::stop_callback onStop(stop, [target = reply.get(), stoppedByCaller] {
            stoppedByCaller->store(true);
            QMetaObject::invokeMethod(target, &QNetworkReply::abort, Qt::QueuedConnection);
        });
        co_await reply.get();
    }

    URLResponse response;
    response.url = reply->url();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid())
        response.statusCode = status.toInt();
    response.headerFields = reply->rawHeaderPairs();
    // An aborted reply is closed and has nothing to read.
    QByteArray bytes = reply->isOpen() ? reply->readAll() : QByteArray();

    // A status line does not make an answer: the body may still be cut short, stall or be canceled.
    const QNetworkReply::NetworkError error = reply->error();
    if (error == QNetworkReply::OperationCanceledError && !stoppedByCaller->load())
        throw URLError(QNetworkReply::TimeoutError, QStringLiteral("The request timed out."));
    if (error != QNetworkReply::NoError && !(response.isHTTP() && isStatusCodeError(error)))
        throw URLError(error, reply->errorString());
    const QString scheme = response.url.scheme();
    if (!response.isHTTP() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        throw URLError(URLError::badServerResponse, QStringLiteral("Bad server response"));
    co_return std::pair{std::move(bytes), std::move(response)};
}

} // namespace Tellwick
