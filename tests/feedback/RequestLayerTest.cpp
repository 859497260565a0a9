// SPDX-License-Identifier: GPL-3.0-or-later
// Multipart encoding, bodies, the request builder and the client's error texts.
#include "HTTPBody.h"
#include "HTTPMethod.h"
#include "HTTPRequestBuilder.h"
#include "MultipartForm.h"
#include "RizazozaZAZCoding.h"
#include "RizazozaZAZError.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <gmock/gmock.h>

using namespace Tellwick;
using Part = MultipartForm::Part;

namespace {

QByteArray encode(QList<Part> parts, const QString& boundary = "B") {
    return MultipartForm{boundary, std::move(parts), MultipartForm::MultipartType::formData}.bodyData();
}

} // namespace

TEST(MultipartForm, WorkedExampleByteForByte) {
    EXPECT_EQ(encode({{"a", "x", {}, {}}}), QByteArray("--B\r\n"
                                                       "Content-Disposition: form-data; name=\"a\"\r\n"
                                                       "\r\n"
                                                       "x\r\n"
                                                       "--B--\r\n"));
}

TEST(MultipartForm, FilePartWithTypeAndSeveralPartsInOrder) {
    const QByteArray body =
        encode({{"first", "1", {}, {}},
                {"file", QByteArray("\0\r\n\xff", 4), QString("shot \"1\".png"), "image/png"},
                {"mixed", "m", {}, {}}},
               "XYZ");
    EXPECT_EQ(
        body,
        QByteArray("--XYZ\r\nContent-Disposition: form-data; name=\"first\"\r\n\r\n1\r\n"
                   "--XYZ\r\nContent-Disposition: form-data; name=\"file\"; filename=\"shot _1_.png\"\r\n"
                   "Content-Type: image/png\r\n\r\n") +
            QByteArray("\0\r\n\xff", 4) +
            QByteArray("\r\n--XYZ\r\nContent-Disposition: form-data; name=\"mixed\"\r\n\r\nm\r\n"
                       "--XYZ--\r\n"));
    // The form type is carried, not written.
    MultipartForm mixed{"XYZ",
                        {{"first", "1", {}, {}},
                         {"file", QByteArray("\0\r\n\xff", 4), QString("shot \"1\".png"), "image/png"},
                         {"mixed", "m", {}, {}}},
                        MultipartForm::MultipartType::mixed};
    EXPECT_EQ(mixed.bodyData(), body);
}

TEST(MultipartForm, NamesCannotAddHeaderLines) {
    // Quotes in a field name stay as they are; CR and LF in any header text become underscores.
    EXPECT_EQ(encode({{"a\"b\r\nX-Evil: 1", "", QString("f\r\nContent-Type: text/html\n\".txt"), {}}}),
              QByteArray("--B\r\nContent-Disposition: form-data; name=\"a\"b__X-Evil: 1\"; "
                         "filename=\"f__Content-Type: text/html__.txt\"\r\n\r\n\r\n--B--\r\n"));
    EXPECT_EQ(encode({{"n", "", {}, QString("text/plain\r\nX-Evil: 1")}}),
              QByteArray("--B\r\nContent-Disposition: form-data; name=\"n\"\r\n"
                         "Content-Type: text/plain__X-Evil: 1\r\n\r\n\r\n--B--\r\n"));
}

TEST(MultipartForm, EmptyDataAndZeroParts) {
    EXPECT_EQ(encode({{"e", QByteArray(), {}, {}}}),
              QByteArray("--B\r\nContent-Disposition: form-data; name=\"e\"\r\n\r\n\r\n--B--\r\n"));
    EXPECT_EQ(encode({}), QByteArray("--B--\r\n"));
}

TEST(MultipartForm, NonAsciiTextIsUtf8) {
    EXPECT_EQ(
        encode({{"ä", "", QString("ü.txt"), {}}}, "Ω"),
        QByteArray(
            "--\xce\xa9\r\nContent-Disposition: form-data; name=\"\xc3\xa4\"; filename=\"\xc3\xbc.txt\"\r\n"
            "\r\n\r\n--\xce\xa9--\r\n"));
}

TEST(MultipartForm, EqualityAndHashCoverEveryField) {
    const MultipartForm a{
        "B", {{"n", "d", QString("f"), QString("t")}}, MultipartForm::MultipartType::formData};
    MultipartForm b = a;
    EXPECT_EQ(a, b);
    EXPECT_EQ(qHash(a), qHash(b));
    b.parts[0].filename = std::nullopt;
    EXPECT_NE(a, b);
    b = a;
    b.parts[0].contentType = QString("");
    EXPECT_NE(a, b);
    b = a;
    b.multipartType = MultipartForm::MultipartType::mixed;
    EXPECT_NE(a, b);
    EXPECT_EQ(rawValue(MultipartForm::MultipartType::formData), "form-data");
    EXPECT_EQ(rawValue(MultipartForm::MultipartType::mixed), "mixed");
}

TEST(HTTPBody, MultipartBodiesGetTheirOwnUpperCaseBoundary) {
    const QList<Part> parts{{"a", "x", {}, {}}};
    const HTTPBody first = HTTPBody::multipartBody([&] { return parts; });
    const HTTPBody second = HTTPBody::multipartBody([&] { return parts; });

    static const QRegularExpression uuid(
        "^[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$");
    QStringList boundaries;
    for (const auto* body : {&first, &second}) {
        ASSERT_EQ(body->headers.keys(), QStringList{"Content-Type"});
        const QString type = body->headers.value("Content-Type");
        ASSERT_TRUE(type.startsWith("multipart/form-data; boundary="));
        const QString boundary = type.mid(QString("multipart/form-data; boundary=").size());
        EXPECT_TRUE(uuid.match(boundary).hasMatch()) << boundary.toStdString();
        ASSERT_TRUE(body->content);
        EXPECT_EQ(*body->content, encode(parts, boundary));
        boundaries << boundary;
    }
    EXPECT_NE(boundaries[0], boundaries[1]);
}

TEST(HTTPBody, FailingProducerPassesItsErrorThrough) {
    struct ProducerFailure {
        int code;
    };
    try {
        HTTPBody::multipartBody([]() -> QList<Part> { throw ProducerFailure{7}; });
        FAIL() << "no exception";
    } catch (const ProducerFailure& failure) {
        EXPECT_EQ(failure.code, 7);
    }
    EXPECT_EQ(HTTPBody{}, (HTTPBody{std::nullopt, {}}));
}

TEST(HTTPMethod, RawValuesMatchExactly) {
    EXPECT_EQ(rawValue(HTTPMethod::delete_), "DELETE");
    EXPECT_EQ(rawValue(HTTPMethod::put), "PUT");
    EXPECT_EQ(httpMethodFromRawValue(u"POST"), HTTPMethod::post);
    EXPECT_EQ(httpMethodFromRawValue(u"GET"), HTTPMethod::get);
    EXPECT_EQ(httpMethodFromRawValue(u"post"), std::nullopt);
    EXPECT_EQ(httpMethodFromRawValue(u" POST"), std::nullopt);
}

TEST(HTTPRequestBuilder, NeedsAUrl) {
    HTTPRequestBuilder builder;
    try {
        builder.makeURLRequest();
        FAIL() << "no exception";
    } catch (const RizazozaZAZError& error) {
        EXPECT_EQ(error, RizazozaZAZError::requiredURLNotSet());
        EXPECT_EQ(error.description(),
                  "[RizazozaZAZ bug] HTTPRequestBuilder was used without setting a url.");
    }
    builder.setURL(QString("http://[::1"));
    EXPECT_THROW(builder.makeURLRequest(), RizazozaZAZError);

    builder.setURL(QUrl("https://example.org/a/b?q=1"));
    const URLRequest request = builder.makeURLRequest();
    EXPECT_EQ(request.request.url(), QUrl("https://example.org/a/b?q=1"));
    EXPECT_EQ(request.httpMethod, "GET");
    EXPECT_FALSE(request.httpBody);
    EXPECT_TRUE(request.request.rawHeaderList().isEmpty());
}

TEST(HTTPRequestBuilder, AbsentOrBrokenUrlKeepsTheEarlierOne) {
    HTTPRequestBuilder builder;
    builder.setURL(QUrl("https://example.org/first"));
    builder.setURL(QUrl());
    builder.setURL(QString("http://[::1"));
    EXPECT_EQ(builder.makeURLRequest().request.url(), QUrl("https://example.org/first"));
    builder.setURL(QUrl("http://other.example/"));
    EXPECT_EQ(builder.makeURLRequest().request.url(), QUrl("http://other.example/"));
}

TEST(HTTPRequestBuilder, RequestCarriesMethodExactHeadersBodyAndTimeout) {
    HTTPRequestBuilder builder;
    builder.setURL(QUrl("https://example.org/api"));
    builder.method = HTTPMethod::put;
    builder.body.content = QByteArray("payload");
    builder.body.headers = {{"X-One", "1"}, {"accept", "text/plain"}};
    const URLRequest request = builder.makeURLRequest();
    EXPECT_EQ(request.httpMethod, "PUT");
    EXPECT_EQ(request.httpBody, QByteArray("payload"));
    EXPECT_EQ(request.request.transferTimeout(), 60000);
    EXPECT_EQ(request.request.attribute(QNetworkRequest::CacheLoadControlAttribute).toInt(),
              int(QNetworkRequest::PreferNetwork));
    // Header names are case-insensitive (newer Qt keeps them in lower case).
    QList<QByteArray> names;
    for (const QByteArray& name : request.request.rawHeaderList())
        names << name.toLower();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (QList<QByteArray>{"accept", "x-one"}));
    EXPECT_EQ(request.request.rawHeader("X-One"), "1");
    EXPECT_EQ(request.request.rawHeader("accept"), "text/plain");
}

TEST(RizazozaZAZError, DescriptionsAndEquality) {
    URLResponse response{QUrl("https://x.test/api/values"), 404, {}};
    EXPECT_EQ(RizazozaZAZError::decodingError("bad key").description(),
              "[RizazozaZAZ bug] There was an error decoding incoming data:\nbad key.");
    EXPECT_EQ(RizazozaZAZError::nonHTTPURLResponse({}, {}).description(), "Unexpected response.");
    EXPECT_EQ(RizazozaZAZError::invalidStatusCode("x", response).description(),
              "Invalid HTTP status code: 404.");
    EXPECT_EQ(RizazozaZAZError::unexpectedError("boom").description(), "Unexpected error: boom");
    EXPECT_EQ(RizazozaZAZError::internalError("oops").description(), "[RizazozaZAZ bug] oops.");
    EXPECT_STREQ(RizazozaZAZError::unexpectedError("ä").what(), "Unexpected error: \xc3\xa4");

    EXPECT_EQ(RizazozaZAZError::invalidStatusCode("x", response),
              RizazozaZAZError::invalidStatusCode("x", response));
    EXPECT_NE(RizazozaZAZError::invalidStatusCode("x", response),
              RizazozaZAZError::invalidStatusCode("y", response));
    EXPECT_NE(RizazozaZAZError::unexpectedError("a"), RizazozaZAZError::internalError("a"));
}

TEST(RizazozaZAZCoding, KeyStrategiesAndDecodingFailure) {
    EXPECT_EQ(convertFromSnakeCase("user_name"), "userName");
    EXPECT_EQ(convertFromSnakeCase("_private_key_"), "_privateKey_");
    EXPECT_EQ(convertFromSnakeCase("plain"), "plain");
    EXPECT_EQ(convertToSnakeCase("userName"), "user_name");
    EXPECT_EQ(convertToSnakeCase("appURLValue"), "app_url_value");

    const QJsonDocument decoded =
        RizazozaZAZDecoder{}.decode(R"({"created_at": 1, "inner_list": [{"a_b": 2}]})");
    EXPECT_EQ(decoded.object().value("createdAt").toInt(), 1);
    EXPECT_EQ(decoded.object().value("innerList").toArray().at(0).toObject().value("aB").toInt(), 2);
    EXPECT_EQ(RizazozaZAZEncoder{}.encode(QJsonObject{{"createdAt", 1}}), R"({"created_at":1})");
    try {
        RizazozaZAZDecoder{}.decode("{nope");
        FAIL() << "no exception";
    } catch (const RizazozaZAZError& error) {
        EXPECT_EQ(error.kind(), RizazozaZAZError::Case::decodingError);
    }
}
