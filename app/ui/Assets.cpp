// SPDX-License-Identifier: GPL-3.0-or-later
#include "Assets.h"

#include <QFile>

namespace Tolvane::Assets {

QIcon image(const QString& name) {
    const QString path = QStringLiteral(":/assets/%1.svg").arg(name);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

std::optional<QColor> color(const QString& name) {
    QFile file(QStringLiteral(":/assets/%1.color").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QColor value = QColor::fromString(QString::fromLatin1(file.readAll().trimmed()));
    return value.isValid() ? std::optional(value) : std::nullopt;
}

QIcon applicationIcon() {
    const QIcon themed = QIcon::fromTheme(QStringLiteral("app.tolvane.Tolvane"));
    return themed.isNull() ? QIcon(QStringLiteral(":/assets/app.tolvane.Tolvane.svg")) : themed;
}

} // namespace Tolvane::Assets
