#include "ResourceBundle.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace GlobalKeys {
namespace {

const QJsonObject& baseTexts() {
    static const QJsonObject texts = [] {
        QFile file(":/GlobalKeys/texts.json");
        if (!file.open(QIODevice::ReadOnly))
            qFatal("GlobalKeys: the library's texts are missing from its resources");
        return QJsonDocument::fromJson(file.readAll()).object();
    }();
    return texts;
}

} // namespace

QString localizedString(const char* key) {
    const QString translated = QCoreApplication::translate("GlobalKeys", key);
    if (translated != QLatin1String(key))
        return translated;
    const QJsonValue base = baseTexts().value(QLatin1String(key));
    return base.isString() ? base.toString() : QString::fromLatin1(key);
}

} // namespace GlobalKeys
