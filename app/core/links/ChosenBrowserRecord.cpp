// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChosenBrowserRecord.h"

#include "RegularFile.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QStringDecoder>

namespace Tolvane::links {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Tolvane::links", text);
}

bool isDesktopId(const QString& id) {
    if (!id.endsWith(QLatin1String(".desktop")) || id.size() <= 8 || id.contains(QLatin1Char('/')))
        return false;
    for (QChar c : id)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
    return true;
}

ChosenBrowserRecord damaged(const QString& why) {
    ChosenBrowserRecord record;
    record.damage = why;
    return record;
}

} // namespace

QString ChosenBrowserRecord::path() {
    return platform::tolvaneConfigDir() + QStringLiteral("/links.state");
}

ChosenBrowserRecord ChosenBrowserRecord::read(const QString& at) {
    QString error;
    const auto file = readRegularFile(at, 64 * 1024, &error);
    if (!file)
        return damaged(error);
    if (!file->exists)
        return {};
    ChosenBrowserRecord record = parse(file->content);
    if (!record.damage.isEmpty())
        record.damage = tr("\u201c%1\u201d is damaged: %2").arg(at, record.damage);
    return record;
}

ChosenBrowserRecord ChosenBrowserRecord::parse(const QByteArray& content) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(content);
    if (utf8.hasError() || text.contains(QChar(0)))
        return damaged(tr("it is not UTF-8 text"));
    ChosenBrowserRecord record;
    bool inGroup = false, sawGroup = false, sawRoute = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Links]");
            sawGroup = sawGroup || inGroup;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return damaged(tr("a line is neither a group nor a key"));
        if (!inGroup)
            continue;
        const QString key = line.first(eq).trimmed();
        const QString value = line.sliced(eq + 1).trimmed();
        if (key == QLatin1String("Route")) {
            if (value != QLatin1String("true") && value != QLatin1String("false"))
                return damaged(tr("Route is neither true nor false"));
            record.route = value == QLatin1String("true");
            sawRoute = true;
        } else if (key == QLatin1String("Chosen")) {
            if (!value.isEmpty() && !isDesktopId(value))
                return damaged(tr("Chosen names no desktop entry"));
            record.chosen = value;
        }
    }
    if (!sawGroup || !sawRoute)
        return damaged(tr("it does not say whether links go by rules"));
    return record;
}

QByteArray ChosenBrowserRecord::content() const {
    return QStringLiteral("[Links]\nRoute=%1\nChosen=%2\n")
        .arg(route ? QStringLiteral("true") : QStringLiteral("false"), chosen)
        .toUtf8();
}

} // namespace Tolvane::links
