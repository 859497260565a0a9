// SPDX-License-Identifier: GPL-3.0-or-later
#include "HTTPBody.h"

#include <QUuid>

namespace Tellwick {

HTTPBody HTTPBody::multipartBody(const std::function<QList<MultipartForm::Part>()>& parts) {
    QList<MultipartForm::Part> produced = parts();
    const QString boundary = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    HTTPBody body;
    body.headers.insert(QStringLiteral("Content-Type"), "multipart/form-data; boundary=" + boundary);
    body.content =
        MultipartForm{boundary, std::move(produced), MultipartForm::MultipartType::formData}.bodyData();
    return body;
}

} // namespace Tellwick
