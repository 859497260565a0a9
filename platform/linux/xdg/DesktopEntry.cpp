// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

namespace platform::linux_ {
namespace {

// Replaces control characters (from escapes or raw bytes) so a value is always one printable line.
QString blankControls(QString text) {
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return text;
}

bool isValidKey(QByteArrayView key) {
    if (key.isEmpty())
        return false;
    for (char c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
              c == '[' || c == ']' || c == '@' || c == '_' || c == '.'))
            return false;
    return true;
}

} // namespace

QString DesktopEntry::messageLocale() {
    const QLocale chosen;
    if (chosen != QLocale::system())
        return chosen.name();
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return chosen.name();
}

namespace {

// Key suffixes to try, best first: lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER, lang.
QStringList localeSuffixes(const QString& locale) {
    const qsizetype at = locale.indexOf('@');
    const QString modifier = at < 0 ? QString() : locale.mid(at + 1);
    QString base = at < 0 ? locale : locale.left(at);
    base.truncate(base.indexOf('.') < 0 ? base.size() : base.indexOf('.')); // the encoding plays no part
    const qsizetype underscore = base.indexOf('_');
    const QString lang = underscore < 0 ? base : base.left(underscore);
    const QString country = underscore < 0 ? QString() : base.mid(underscore + 1);
    if (lang.isEmpty())
        return {};
    QStringList suffixes;
    if (!country.isEmpty() && !modifier.isEmpty())
        suffixes << lang + '_' + country + '@' + modifier;
    if (!country.isEmpty())
        suffixes << lang + '_' + country;
    if (!modifier.isEmpty())
        suffixes << lang + '@' + modifier;
    return suffixes << lang;
}

} // namespace

QString escapeDesktopValue(QString value) {
    value.replace('\\', QLatin1String("\\\\"));
    value.replace('\n', QLatin1String("\\n"));
    value.replace('\t', QLatin1String("\\t"));
    value.replace('\r', QLatin1String("\\r"));
    return value;
}

QString unescapeDesktopValue(const QString& raw) {
    if (!raw.contains('\\'))
        return raw; // the common case: nothing to undo, no copy
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += next;
            break; // list escapes like \; are resolved by listValue
        }
    }
    return out;
}

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray& content) {
    DesktopEntry entry;
    bool inGroup = false, seenGroup = false;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        QByteArrayView line(content.constData() + start, end - start);
        start = end + 1;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            if (inGroup)
                break; // only the first group is the entry; actions and the rest do not matter here
            inGroup = line == QByteArrayView("[Desktop Entry]");
            seenGroup = seenGroup || inGroup;
            if (!inGroup && !seenGroup)
                return std::nullopt; // the format puts [Desktop Entry] first
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue; // unparsable line: ignored, like the other readers do
        const QByteArrayView key = line.first(eq).trimmed();
        if (!isValidKey(key))
            continue;
        // The first occurrence wins; duplicates are invalid anyway.
        const QByteArrayView value = line.sliced(eq + 1).trimmed();
        if (key.endsWith(']')) {
            if (!entry.localized_.contains(key.toByteArray()))
                entry.localized_.insert(key.toByteArray(), value.toByteArray());
        } else if (const QString plain = QString::fromLatin1(key); !entry.values_.contains(plain)) {
            entry.values_.insert(plain, QString::fromUtf8(value));
        }
    }
    if (!seenGroup)
        return std::nullopt;
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !QFileInfo(file).isFile() || file.size() > maxFileSize)
        return std::nullopt;
    const QByteArray content = file.read(maxFileSize + 1);
    if (content.size() > maxFileSize)
        return std::nullopt;
    return parse(content);
}

std::optional<QString> DesktopEntry::value(const QString& key) const {
    if (key.endsWith(']')) {
        auto it = localized_.constFind(key.toUtf8());
        return it == localized_.constEnd() ? std::nullopt : std::optional(QString::fromUtf8(*it));
    }
    auto it = values_.constFind(key);
    return it == values_.constEnd() ? std::nullopt : std::optional(*it);
}

std::optional<QString> DesktopEntry::localizedValue(const QString& key) const {
    if (!localized_.isEmpty())
        for (const QString& suffix : localeSuffixes(messageLocale()))
            if (auto v = value(key + '[' + suffix + ']'))
                return v;
    return value(key);
}

bool DesktopEntry::boolValue(const QString& key) const {
    return value(key) == QStringLiteral("true");
}

QStringList DesktopEntry::listValue(const QString& key) const {
    const auto raw = value(key);
    if (!raw)
        return {};
    QStringList items;
    if (!raw->contains('\\')) {
        // Nothing escaped: plain ';'-separated items.
        for (const QStringView item : QStringView(*raw).split(';', Qt::SkipEmptyParts))
            items << item.toString();
        return items;
    }
    QString current;
    for (qsizetype i = 0; i < raw->size(); ++i) {
        const QChar c = raw->at(i);
        if (c == '\\' && i + 1 < raw->size() && raw->at(i + 1) == ';') {
            current += ';';
            ++i;
        } else if (c == ';') {
            if (!current.isEmpty())
                items << unescapeDesktopValue(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        items << unescapeDesktopValue(current);
    return items;
}

std::optional<QString> DesktopEntry::name() const {
    auto raw = localizedValue(QStringLiteral("Name"));
    if (!raw)
        return std::nullopt;
    QString text = blankControls(unescapeDesktopValue(*raw)).trimmed();
    if (text.size() > maxNameLength)
        text = text.left(maxNameLength - 1) + QChar(0x2026);
    return text;
}

bool DesktopEntry::declares(const QString& mimeType) const {
    // Asked of every entry at every listing: look without copying when nothing is escaped.
    const auto it = values_.constFind(QStringLiteral("MimeType"));
    if (it == values_.constEnd())
        return false;
    if (!it->contains('\\')) {
        for (const QStringView item : QStringView(*it).split(';', Qt::SkipEmptyParts))
            if (item.size() == mimeType.size() && item.compare(mimeType, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }
    const QStringList types = mimeTypes();
    return std::any_of(types.begin(), types.end(),
                       [&](const QString& t) { return t.compare(mimeType, Qt::CaseInsensitive) == 0; });
}

bool DesktopEntry::tryExecMissing() const {
    const auto tryExec = value(QStringLiteral("TryExec"));
    if (!tryExec || tryExec->isEmpty())
        return false;
    const QString program = unescapeDesktopValue(*tryExec);
    if (program.startsWith('/')) {
        const QFileInfo info(program);
        return !(info.isFile() && info.isExecutable());
    }
    return QStandardPaths::findExecutable(program).isEmpty();
}

bool DesktopEntry::isLaunchable() const {
    const auto exec = value(QStringLiteral("Exec"));
    return (exec && !exec->isEmpty()) || boolValue(QStringLiteral("DBusActivatable"));
}

bool DesktopEntry::shownIn(const QStringList& desktops) const {
    if (boolValue(QStringLiteral("NoDisplay")))
        return false;
    const QStringList only = listValue(QStringLiteral("OnlyShowIn"));
    const QStringList not_ = listValue(QStringLiteral("NotShowIn"));
    for (const QString& desktop : desktops) {
        if (only.contains(desktop))
            return true;
        if (not_.contains(desktop))
            return false;
    }
    return only.isEmpty();
}

QStringList DesktopEntry::currentDesktops() {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts);
}

} // namespace platform::linux_
