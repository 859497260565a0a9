// SPDX-License-Identifier: GPL-3.0-or-later
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

// Every key, so that lupdate puts them in the application's .ts files; the English texts are in
// texts.json.
[[maybe_unused]] constexpr const char* translatedKeys[] = {
    QT_TRANSLATE_NOOP("GlobalKeys", "space_key"),
    QT_TRANSLATE_NOOP("GlobalKeys", "super_key"),
    QT_TRANSLATE_NOOP("GlobalKeys", "record_shortcut"),
    QT_TRANSLATE_NOOP("GlobalKeys", "press_shortcut"),
    QT_TRANSLATE_NOOP("GlobalKeys", "keyboard_shortcut_used_by_menu_item"),
    QT_TRANSLATE_NOOP("GlobalKeys", "keyboard_shortcut_used_by_system"),
    QT_TRANSLATE_NOOP("GlobalKeys", "keyboard_shortcut_held_by_system"),
    QT_TRANSLATE_NOOP("GlobalKeys", "keyboard_shortcut_used_by_other_application"),
    QT_TRANSLATE_NOOP("GlobalKeys", "keyboard_shortcut_used_by_applications"),
    QT_TRANSLATE_NOOP("GlobalKeys", "keyboard_shortcut_taken_from_applications"),
    QT_TRANSLATE_NOOP("GlobalKeys", "keyboard_shortcuts_can_be_changed"),
    QT_TRANSLATE_NOOP("GlobalKeys", "ok"),
    QT_TRANSLATE_NOOP("GlobalKeys", "force_use_shortcut"),
};

} // namespace

QString localizedString(const char* key) {
    const QString translated = QCoreApplication::translate("GlobalKeys", key);
    if (translated != QLatin1String(key))
        return translated;
    const QJsonValue base = baseTexts().value(QLatin1String(key));
    return base.isString() ? base.toString() : QString::fromLatin1(key);
}

} // namespace GlobalKeys
