// SPDX-License-Identifier: GPL-3.0-or-later
// The client against a loopback server whose multipart reader is Python's own.
#include "LoopbackServer.h"
#include "ResponseLogger.h"
#include "RizazozaZAZClient.h"
#include "RizazozaZAZError.h"
#include "URLError.h"
#include "URLSession.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gmock/gmock.h>

using namespace Tellwick;
using ::testing::ElementsAre;

namespace {

const QString appKey = "3f1c7a52-6d0e-4b8a-9e21-7c4d5b0a8f36";

QJsonArray received(const LoopbackServer& server) {
    URLRequest request;
    request.request.setUrl(server.url("received"));
    request.httpMethod = "GET";
    auto outcome = runTask(data(sharedSession(), request));
    if (!outcome.value)
        return {};
    return QJsonDocument::fromJson(outcome.value->first).array();
}

QJsonObject lastRequest(const LoopbackServer& server) {
    const QJsonArray all = received(server);
    return all.isEmpty() ? QJsonObject{} : all.last().toObject();
}

QStringList partNames(const QJsonObject& request) {
    QStringList names;
    for (const auto& part : request.value("multipart").toObject().value("parts").toArray())
        names << part.toObject().value("name").toString();
    return names;
}

QJsonObject partNamed(const QJsonObject& request, const QString& name) {
    for (const auto& part : request.value("multipart").toObject().value("parts").toArray())
        if (part.toObject().value("name").toString() == name)
            return part.toObject();
    return {};
}

std::string describe(std::exception_ptr error) {
    if (!error)
        return "no error";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "unknown";
}

QByteArray partData(const QJsonObject& part) {
    return QByteArray::fromBase64(part["data_base64"].toString().toLatin1());
}

QList<std::pair<QString, QString>> headers(const QJsonObject& request) {
    QList<std::pair<QString, QString>> out;
    for (const auto& header : request["headers"].toArray())
        out.append({header[0].toString(), header[1].toString()});
    return out;
}

QString header(const QJsonObject& request, const QString& name) {
    for (const auto& [key, value] : headers(request))
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

class ClientLoopback : public ::testing::Test {
protected:
    LoopbackServer server;
    RizazozaZAZClient client{appKey, sharedSession(), server.url()};
};

} // namespace

TEST_F(ClientLoopback, FirstFormSendsKeyContentAndAttributes) {
    const RizazozaZAZClient::Attributes attributes{{"os", "12.0.0"}, {"app version", "1.2"}};
    ASSERT_FALSE(runVoidTask(client.submitFeedback("  Hello\nworld  ", attributes)));

    const QJsonObject request = lastRequest(server);
    EXPECT_EQ(request["request_line"].toString(), "POST /api/values HTTP/1.1");
    const QStringList names = partNames(request);
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names.mid(0, 2), (QStringList{"value[key]", "value[content]"}));
    EXPECT_THAT(names.mid(2),
                ::testing::UnorderedElementsAre("value[attributes][os]", "value[attributes][app version]"));
    EXPECT_EQ(partData(partNamed(request, "value[key]")), appKey.toUtf8());
    EXPECT_EQ(partData(partNamed(request, "value[content]")), "  Hello\nworld  ");
    EXPECT_EQ(partData(partNamed(request, "value[attributes][os]")), "12.0.0");
    EXPECT_EQ(partData(partNamed(request, "value[attributes][app version]")), "1.2");
    EXPECT_TRUE(request.value("multipart").toObject().value("defects").toArray().isEmpty());

    // The body's own type and boundary, then the defaults the multipart body did not bring.
    const QString boundary = request.value("multipart").toObject().value("boundary").toString();
    EXPECT_EQ(header(request, "Content-Type"), "multipart/form-data; boundary=" + boundary);
    EXPECT_EQ(header(request, "Accept"), "application/json");
    EXPECT_EQ(header(request, "User-Agent"), "Swift 127.0.0.1");
}

TEST_F(ClientLoopback, SecondFormSendsAttachmentIntactAndTrimmedEmail) {
    QByteArray attachment(300 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(42);
    generator.fillRange(reinterpret_cast<quint32*>(attachment.data()), attachment.size() / 4);
    attachment.replace(1000, 6, "\r\n--\r\n"); // line breaks and dashes inside the data must survive

    ASSERT_FALSE(runVoidTask(client.submitFeedback("", "screen \"shot\".png", attachment,
                                                   QString("image/png"), QString(" \n me@example.org \t\n"),
                                                   RizazozaZAZClient::Attributes{{"twk.v", "1"}})));
    const QJsonObject request = lastRequest(server);
    EXPECT_EQ(partNames(request), (QStringList{"value[key]", "value[content]", "file", "value[email]",
                                               "value[attributes][twk.v]"}));
    const QJsonObject file = partNamed(request, "file");
    EXPECT_EQ(file["filename"].toString(), "screen _shot_.png");
    EXPECT_EQ(file["content_type"].toString(), "image/png");
    EXPECT_EQ(file["size"].toInt(), attachment.size());
    EXPECT_EQ(file["sha256"].toString(),
              QCryptographicHash::hash(attachment, QCryptographicHash::Sha256).toHex());
    EXPECT_EQ(partData(partNamed(request, "value[content]")), "");
    EXPECT_EQ(partData(partNamed(request, "value[email]")), "me@example.org");
}

TEST_F(ClientLoopback, AttachmentOrEmailLeftOutWhenIncomplete) {
    // Bytes without a type, and an address of white space only.
    ASSERT_FALSE(runVoidTask(client.submitFeedback("text", "a.zip", QByteArray("zip"), std::nullopt,
                                                   QString(" \r\n "), std::nullopt)));
    EXPECT_EQ(partNames(lastRequest(server)), (QStringList{"value[key]", "value[content]"}));
    // A type without bytes.
    ASSERT_FALSE(runVoidTask(client.submitFeedback("text", "a.png", std::nullopt, QString("image/png"),
                                                   std::nullopt, std::nullopt)));
    EXPECT_EQ(partNames(lastRequest(server)), (QStringList{"value[key]", "value[content]"}));
}

TEST_F(ClientLoopback, HeaderTextsFromTheCallerCannotAddHeaderLines) {
    ASSERT_FALSE(runVoidTask(client.submitFeedback(
        "x", "evil\r\nContent-Type: text/html\r\n\r\n.png", QByteArray("b"), QString("image/png"),
        std::nullopt, RizazozaZAZClient::Attributes{{"k\r\nX-Injected: 1", "v"}})));
    const QJsonObject request = lastRequest(server);
    for (const auto& entry : request.value("multipart").toObject().value("parts").toArray()) {
        const QJsonObject part = entry.toObject();
        QStringList headerNames;
        for (const auto& name : part["header_names"].toArray())
            headerNames << name.toString();
        EXPECT_FALSE(headerNames.contains("X-Injected", Qt::CaseInsensitive));
        EXPECT_EQ(headerNames.count("Content-Type"), part["name"].toString() == "file" ? 1 : 0);
    }
    const QJsonObject file = partNamed(request, "file");
    EXPECT_EQ(file["content_type"].toString(), "image/png");
    EXPECT_EQ(partData(file), "b");
}

TEST_F(ClientLoopback, CallerHeadersAreKept) {
    auto builder = std::make_shared<HTTPRequestBuilder>();
    builder->setURL(server.url("api/values"));
    builder->method = HTTPMethod::post;
    builder->body.content = QByteArray("{}");
    builder->body.headers.insert("Accept", "text/plain");
    builder->body.headers.insert("accept-language", "de");
    auto outcome = runTask(client.performRequest(builder));
    ASSERT_FALSE(outcome.error);
    ASSERT_TRUE(outcome.value);
    EXPECT_EQ(outcome.value->second.statusCode, 200);

    const QJsonObject request = QJsonDocument::fromJson(outcome.value->first).object();
    EXPECT_EQ(header(request, "Accept"), "text/plain");
    EXPECT_EQ(header(request, "Content-Type"), "application/json");
    EXPECT_EQ(header(request, "User-Agent"), "Swift 127.0.0.1");
    // The builder keeps the defaults it was given.
    EXPECT_EQ(builder->body.headers.value("Content-Type"), "application/json");
    EXPECT_EQ(builder->body.headers.value("Accept"), "text/plain");
}

TEST_F(ClientLoopback, StatusCodesOutside200To299Fail) {
    for (int status : {200, 299}) {
        client.instanceURL = server.url(QString("status/%1").arg(status));
        EXPECT_FALSE(runVoidTask(client.submitFeedback("x", std::nullopt))) << status;
    }
    // An informational answer is never success; newer Qt waits for the final answer after it and
    // reports the closed connection instead, so only the failure itself is common ground.
    client.instanceURL = server.url("status/199");
    EXPECT_TRUE(runVoidTask(client.submitFeedback("x", std::nullopt)));
    for (int status : {300, 401, 404, 503}) {
        client.instanceURL = server.url(QString("status/%1").arg(status));
        const auto failure = runVoidTask(client.submitFeedback("x", std::nullopt));
        const auto error = errorAs<RizazozaZAZError>(failure);
        ASSERT_TRUE(error) << status << " " << describe(failure);
        EXPECT_EQ(error->kind(), RizazozaZAZError::Case::invalidStatusCode);
        EXPECT_EQ(error->description(), QString("Invalid HTTP status code: %1.").arg(status));
        EXPECT_EQ(error->response().statusCode, status);
        EXPECT_EQ(error->response().url.path(), QString("/status/%1/api/values").arg(status));
        EXPECT_TRUE(error->data().startsWith("{")) << status;
    }
}

// A redirect would turn the POST into a GET that "succeeds" with nothing stored (302), or carry
// the whole message to wherever the answer points (307).
TEST_F(ClientLoopback, RedirectsAreFailuresAndAreNotFollowed) {
    for (int status : {301, 302, 303, 307, 308}) {
        const int before = received(server).size();
        client.instanceURL = server.url(QString("redirect/%1").arg(status));
        const auto failure = runVoidTask(client.submitFeedback("x", std::nullopt));
        const auto error = errorAs<RizazozaZAZError>(failure);
        ASSERT_TRUE(error) << status << " " << describe(failure);
        EXPECT_EQ(error->description(), QString("Invalid HTTP status code: %1.").arg(status));
        const QJsonArray after = received(server);
        ASSERT_EQ(after.size(), before + 1) << status;
        EXPECT_EQ(after.last().toObject()["method"].toString(), "POST") << status;
    }
}

TEST_F(ClientLoopback, TransportFailuresArriveAsTheNetworkLayerReportsThem) {
    client.instanceURL = server.url("close");
    auto closed = errorAs<URLError>(runVoidTask(client.submitFeedback("x", std::nullopt)));
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->code(), QNetworkReply::RemoteHostClosedError);
    EXPECT_FALSE(closed->description().isEmpty());

    // A port nobody listens on.
    QUrl refusedUrl = server.url();
    {
        LoopbackServer gone;
        refusedUrl.setPort(gone.port());
    }
    client.instanceURL = refusedUrl;
    auto refused = errorAs<URLError>(runVoidTask(client.submitFeedback("x", std::nullopt)));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->code(), QNetworkReply::ConnectionRefusedError);
}

namespace {

// A session that stops its caller's request as soon as the first bytes of a body have arrived.
class StopOnFirstBytes : public QNetworkAccessManager {
public:
    std::stop_source stop;

protected:
    QNetworkReply* createRequest(Operation op, const QNetworkRequest& request, QIODevice* body) override {
        QNetworkReply* reply = QNetworkAccessManager::createRequest(op, request, body);
        connect(reply, &QNetworkReply::readyRead, reply, [this] { stop.request_stop(); });
        return reply;
    }
};

} // namespace

TEST_F(ClientLoopback, FailuresAfterTheStatusLineFailTheCall) {
    // The body ends before the length the headers announced.
    client.instanceURL = server.url("short");
    const auto cut = runVoidTask(client.submitFeedback("x", std::nullopt));
    ASSERT_TRUE(errorAs<URLError>(cut)) << describe(cut);
    EXPECT_EQ(errorAs<URLError>(cut)->code(), QNetworkReply::RemoteHostClosedError);

    // The caller stops while the body is arriving.
    StopOnFirstBytes session;
    const RizazozaZAZClient stopping(appKey, &session, server.url("stall"));
    const auto canceled = runVoidTask(stopping.submitFeedback("x", std::nullopt, session.stop.get_token()));
    ASSERT_TRUE(errorAs<URLError>(canceled)) << describe(canceled);
    EXPECT_EQ(errorAs<URLError>(canceled)->code(), QNetworkReply::OperationCanceledError);

    // The body stalls until the time-out; that is no cancel by the user.
    auto builder = std::make_shared<HTTPRequestBuilder>();
    builder->setURL(server.url("stall"));
    builder->timeoutMilliseconds = 300;
    const auto stalled = runTask(client.performRequest(builder)).error;
    const auto timedOut = errorAs<URLError>(stalled);
    ASSERT_TRUE(timedOut) << describe(stalled);
    EXPECT_EQ(timedOut->code(), QNetworkReply::TimeoutError);
    EXPECT_EQ(timedOut->description(), "The request timed out.");
}

TEST_F(ClientLoopback, ABaseUrlWithoutHostIsNoUrl) {
    for (const QUrl& base : {QUrl(), QUrl("https://"), QUrl("feedback/api"), QUrl("file:///tmp")}) {
        client.instanceURL = base;
        const auto failure = runVoidTask(client.submitFeedback("x", std::nullopt));
        const auto error = errorAs<RizazozaZAZError>(failure);
        ASSERT_TRUE(error) << base.toString().toStdString() << ": " << describe(failure);
        EXPECT_EQ(*error, RizazozaZAZError::requiredURLNotSet());
    }
}

TEST_F(ClientLoopback, NonHttpAnswerIsUnexpected) {
    QTemporaryDir dir;
    QFile file(dir.filePath("answer.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hello");
    file.close();
    auto builder = std::make_shared<HTTPRequestBuilder>();
    builder->setURL(QUrl::fromLocalFile(file.fileName()));
    const auto error = errorAs<RizazozaZAZError>(runTask(client.performRequest(builder)).error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), RizazozaZAZError::Case::nonHTTPURLResponse);
    EXPECT_EQ(error->description(), "Unexpected response.");
    EXPECT_EQ(error->data(), "hello");
}

TEST_F(ClientLoopback, StopAbortsTheTransfer) {
    client.instanceURL = server.url("delay/20");
    std::stop_source stop;
    QTimer::singleShot(200, [&] { stop.request_stop(); });
    QElapsedTimer clock;
    clock.start();
    const auto error =
        errorAs<URLError>(runVoidTask(client.submitFeedback("x", std::nullopt, stop.get_token())));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), QNetworkReply::OperationCanceledError);
    EXPECT_LT(clock.elapsed(), 15000);

    // Already stopped: nothing goes out.
    const int before = received(server).size();
    EXPECT_TRUE(errorAs<URLError>(runVoidTask(client.submitFeedback("x", std::nullopt, stop.get_token()))));
    EXPECT_EQ(received(server).size(), before);
}

TEST(ClientTls, SelfSignedServerIsRefused) {
    QTemporaryDir dir;
    const QString cert = dir.filePath("cert.pem"), key = dir.filePath("key.pem");
    QProcess openssl;
    openssl.start("openssl",
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-days",
                   "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
    ASSERT_TRUE(openssl.waitForFinished(60000));
    ASSERT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().toStdString();

    LoopbackServer server(std::pair{cert, key});
    const RizazozaZAZClient client(appKey, sharedSession(), server.url({}, "https"));
    const auto error = errorAs<URLError>(runVoidTask(client.submitFeedback("x", std::nullopt)));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), QNetworkReply::SslHandshakeFailedError);

    // The same server does answer a client that chooses to trust it, so the refusal above is the
    // certificate's.
    QNetworkAccessManager trusting;
    QNetworkReply* reply = trusting.get(QNetworkRequest(server.url("status/200", "https")));
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [reply] { reply->ignoreSslErrors(); });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    delete reply;
}

namespace {

struct LogCapture {
    static inline QStringList lines;
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtDebugMsg && QByteArray(context.category) == "eu.corvane.twk.lib.response")
            lines << message;
    }
    QtMessageHandler previous = qInstallMessageHandler(handler);
    LogCapture() { lines.clear(); }
    ~LogCapture() { qInstallMessageHandler(previous); }
};

} // namespace

TEST_F(ClientLoopback, DebugLogOfResponses) {
    LogCapture log;
    ASSERT_FALSE(runVoidTask(client.submitFeedback("quiet", std::nullopt)));
    EXPECT_TRUE(log.lines.isEmpty());

    client.enableDebugging();
    EXPECT_TRUE(client.debugResponses && client.debugInstance);
    ASSERT_FALSE(runVoidTask(client.submitFeedback("loud", std::nullopt)));
    ASSERT_GE(log.lines.size(), 3);
    EXPECT_EQ(log.lines.first(),
              QString("⬅️ 🌍 http://127.0.0.1:%1/api/values HTTP 200").arg(server.port()));
    // Header names are case-insensitive, and newer Qt hands them over in lower case.
    EXPECT_TRUE(log.lines.contains("⬅️ 🏷️ 'X-Test-Server': 'loopback'", Qt::CaseInsensitive));
    EXPECT_TRUE(log.lines.last().startsWith("⬅️ Body: {\"request_line\": \"POST /api/values HTTP/1.1\""));

    log.lines.clear();
    client.instanceURL = server.url("binary");
    const auto binaryFailure = runVoidTask(client.submitFeedback("x", std::nullopt));
    ASSERT_FALSE(binaryFailure) << describe(binaryFailure);
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_EQ(log.lines.last(), "⬅️ Body: nil");

    // Failing answers are logged before the failure is raised.
    log.lines.clear();
    client.instanceURL = server.url("status/404");
    EXPECT_TRUE(runVoidTask(client.submitFeedback("x", std::nullopt)));
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_TRUE(log.lines.first().endsWith("HTTP 404"));

    log.lines.clear();
    client.disableDebugging();
    client.instanceURL = server.url();
    EXPECT_FALSE(client.debugResponses || client.debugInstance);
    ASSERT_FALSE(runVoidTask(client.submitFeedback("x", std::nullopt)));
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST(ResponseLog, MissingUrlAndPercentSignsAreWrittenAsTheyAre) {
    LogCapture log;
    logResponse("ok", URLResponse{QUrl(), 201, {{"A", "%1"}}});
    EXPECT_EQ(log.lines,
              (QStringList{"⬅️ 🌍 - HTTP 201", "⬅️ 🏷️ 'A': '%1'", "⬅️ Body: ok"}));
    log.lines.clear();
    logResponse(QByteArray("\xc3", 1), URLResponse{QUrl("http://h.test/a%1Ab"), 500, {}});
    EXPECT_EQ(log.lines, (QStringList{"⬅️ 🌍 http://h.test/a%1Ab HTTP 500", "⬅️ Body: nil"}));
}

TEST(Client, DefaultsAndSharedSession) {
    const RizazozaZAZClient client(appKey);
    EXPECT_EQ(client.instanceURL, QUrl(TOLVANE_FEEDBACK_URL));
    EXPECT_EQ(client.appKey(), appKey);
    EXPECT_EQ(client.session, sharedSession());
    EXPECT_EQ(sharedSession(), sharedSession());
    EXPECT_FALSE(client.debugResponses || client.debugInstance);
    EXPECT_TRUE(client.validStatusCodes().contains(200) && client.validStatusCodes().contains(299));
    EXPECT_FALSE(client.validStatusCodes().contains(300) || client.validStatusCodes().contains(199));

    // A base URL with a path keeps it in front of /api/values.
    LoopbackServer server;
    const RizazozaZAZClient nested(appKey, sharedSession(), server.url("tenant/"));
    ASSERT_FALSE(runVoidTask(nested.submitFeedback("x", std::nullopt)));
    EXPECT_EQ(lastRequest(server)["request_line"].toString(), "POST /tenant/api/values HTTP/1.1");
}
