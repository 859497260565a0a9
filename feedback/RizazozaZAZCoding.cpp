// SPDX-License-Identifier: GPL-3.0-or-later
#include "RizazozaZAZCoding.h"

#include "RizazozaZAZError.h"

#include <QJsonArray>
#include <QJsonObject>

namespace Tellwick {

QString convertFromSnakeCase(const QString& key) {
    // Leading and trailing underscores stay; the words between them are joined in camel case.
    qsizetype first = 0;
    while (first < key.size() && key[first] == '_')
        ++first;
    if (first == key.size())
        return key;
    qsizetype last = key.size() - 1;
    while (key[last] == '_')
        --last;
    const QStringList words = key.mid(first, last - first + 1).split('_', Qt::SkipEmptyParts);
    if (words.size() <= 1)
        return key;
    QString joined = words.front().toLower();
    for (qsizetype i = 1; i < words.size(); ++i)
        joined += words[i].left(1).toUpper() + words[i].mid(1).toLower();
    return key.left(first) + joined + key.mid(last + 1);
}

QString convertToSnakeCase(const QString& key) {
    QString out;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key[i];
        if (c.isUpper() && i > 0) {
            const QChar previous = key[i - 1];
            const bool nextIsLower = i + 1 < key.size() && key[i + 1].isLower();
            if (previous.isLower() || previous.isDigit() || (previous.isUpper() && nextIsLower))
                out += '_';
        }
        out += c.toLower();
    }
    return out;
}

namespace {

template <class Convert> QJsonValue convertKeys(const QJsonValue& value, Convert convert) {
    if (value.isObject()) {
        QJsonObject converted;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            converted.insert(convert(it.key()), convertKeys(it.value(), convert));
        return converted;
    }
    if (value.isArray()) {
        QJsonArray converted;
        for (const auto& element : value.toArray())
            converted.append(convertKeys(element, convert));
        return converted;
    }
    return value;
}

} // namespace

QJsonDocument RizazozaZAZDecoder::decode(const QByteArray& json) const {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw RizazozaZAZError::decodingError(error.errorString());
    if (document.isObject())
        return QJsonDocument(convertKeys(document.object(), convertFromSnakeCase).toObject());
    return QJsonDocument(convertKeys(document.array(), convertFromSnakeCase).toArray());
}

QByteArray RizazozaZAZEncoder::encode(const QJsonValue& value) const {
    const QJsonValue converted = convertKeys(value, convertToSnakeCase);
    if (converted.isObject())
        return QJsonDocument(converted.toObject()).toJson(QJsonDocument::Compact);
    if (converted.isArray())
        return QJsonDocument(converted.toArray()).toJson(QJsonDocument::Compact);
    // A bare value: wrap and unwrap so Qt writes it with its own escaping.
    const QByteArray wrapped = QJsonDocument(QJsonArray{converted}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

} // namespace Tellwick
