// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyFileLines.h"

#include <algorithm>
#include <cctype>

namespace platform::linux_ {
namespace {

QByteArray stripEol(const QByteArray& line) {
    qsizetype n = line.size();
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r'))
        --n;
    return line.left(n);
}

QByteArray eolOf(const QByteArray& line) {
    return line.mid(stripEol(line).size());
}

// KDE writes flags after a key name, as in "BrowserApplication[$e]" or "Key[$ei]"; they do not name
// another key.
QString withoutFlags(QString key) {
    while (key.endsWith(']')) {
        const qsizetype open = key.lastIndexOf(QLatin1String("[$"));
        if (open < 0)
            break;
        key.truncate(open);
    }
    return key.trimmed();
}

} // namespace

KeyFileLines::KeyFileLines(const QByteArray& content) {
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        end = end < 0 ? content.size() : end + 1;
        lines_ << content.mid(start, end - start);
        start = end;
    }
}

std::optional<QString> KeyFileLines::groupOf(const QByteArray& line) {
    const QByteArray text = stripEol(line).trimmed();
    if (text.size() < 2 || text.front() != '[' || text.back() != ']')
        return std::nullopt;
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

bool KeyFileLines::splitKey(const QByteArray& line, QString* spelling, QString* key, QString* value) {
    const QByteArray text = stripEol(line);
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith('#') || trimmed.startsWith('['))
        return false;
    const qsizetype eq = text.indexOf('=');
    if (eq <= 0)
        return false;
    *spelling = QString::fromUtf8(text.left(eq).trimmed());
    *key = withoutFlags(*spelling);
    *value = QString::fromUtf8(text.mid(eq + 1).trimmed());
    return !key->isEmpty();
}

QList<KeyFileLines::KeyLine> KeyFileLines::keyLines(const QString& group, const QString& key) const {
    QList<KeyLine> found;
    bool inGroup = group.isEmpty();
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (auto g = groupOf(lines_[i])) {
            inGroup = *g == group;
            continue;
        }
        QString spelling, k, v;
        if (inGroup && splitKey(lines_[i], &spelling, &k, &v) && k == key)
            found << KeyLine{i, spelling, v};
    }
    return found;
}

std::optional<QString> KeyFileLines::value(const QString& group, const QString& key) const {
    const auto found = keyLines(group, key);
    if (found.isEmpty())
        return std::nullopt;
    return found.back().value;
}

QStringList KeyFileLines::list(const QString& group, const QString& key) const {
    QStringList items = value(group, key).value_or(QString()).split(';', Qt::SkipEmptyParts);
    for (QString& item : items)
        item = item.trimmed();
    items.removeAll(QString());
    return items;
}

bool KeyFileLines::hasGroup(const QString& group) const {
    return std::any_of(lines_.begin(), lines_.end(),
                       [&](const QByteArray& l) { return groupOf(l) == group; });
}

QString KeyFileLines::joinList(const QStringList& items) {
    return items.join(';') + ';';
}

void KeyFileLines::replaceLine(qsizetype index, const QString& key, const QString& value) {
    QByteArray eol = eolOf(lines_[index]);
    if (eol.isEmpty())
        eol = eolFor(index);
    lines_[index] = key.toUtf8() + '=' + value.toUtf8() + eol;
}

QByteArray KeyFileLines::eolFor(qsizetype index) const {
    // A file written on Windows keeps its CRLF lines, also in the lines added to it.
    for (qsizetype i : {index - 1, index, qsizetype(0)})
        if (i >= 0 && i < lines_.size() && !eolOf(lines_[i]).isEmpty())
            return eolOf(lines_[i]);
    return "\n";
}

void KeyFileLines::setValue(const QString& group, const QString& key, const QString& value) {
    const auto found = keyLines(group, key);
    for (const KeyLine& line : found)
        replaceLine(line.index, line.spelling, value); // flags such as [$e] stay with the key
    if (!found.isEmpty())
        return;
    // After the last key line of the group's last section, before its trailing blank lines.
    qsizetype insertAt = group.isEmpty() ? 0 : -1;
    bool inGroup = group.isEmpty();
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (auto g = groupOf(lines_[i])) {
            inGroup = *g == group;
            if (inGroup)
                insertAt = i + 1;
            continue;
        }
        if (inGroup && !stripEol(lines_[i]).trimmed().isEmpty())
            insertAt = i + 1;
    }
    const QByteArray eol = eolFor(insertAt < 0 ? lines_.size() : insertAt);
    const QByteArray newLine = key.toUtf8() + '=' + value.toUtf8() + eol;
    if ((insertAt < 0 || insertAt == lines_.size()) && !lines_.isEmpty() && !lines_.back().endsWith('\n'))
        lines_.back() += eol; // the file ended mid-line; end it before adding after it
    if (insertAt < 0) {
        if (!lines_.isEmpty() && !stripEol(lines_.back()).trimmed().isEmpty())
            lines_ << eol;
        lines_ << '[' + group.toUtf8() + ']' + eol << newLine;
        return;
    }
    lines_.insert(insertAt, newLine);
}

void KeyFileLines::prependToList(const QString& group, const QString& key, const QString& item) {
    QStringList items = list(group, key);
    items.removeAll(item);
    items.prepend(item);
    setValue(group, key, joinList(items));
}

void KeyFileLines::removeFromList(const QString& group, const QString& key, const QString& item) {
    QStringList items = list(group, key);
    if (!items.contains(item))
        return;
    items.removeAll(item);
    setValue(group, key, items.isEmpty() ? QString() : joinList(items));
}

std::optional<KeyFileLines::RejectedLine> KeyFileLines::firstLineGLibRejects(const QByteArray& content) {
    // GLib's loader, line by line: after leading white space, a line is empty, a comment, a group
    // header with a valid name, or "key=value" with a valid key inside a group; anything else
    // fails the whole file.
    const auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    };
    const auto localeChar = [](char c) {
        return std::isalnum(uchar(c)) || uchar(c) >= 0x80 || c == '-' || c == '_' || c == '.' || c == '@';
    };
    const auto validGroupLine = [](const QByteArray& line) {
        const qsizetype close = line.indexOf(']');
        if (close < 0)
            return std::optional<bool>(); // not a group line
        for (qsizetype i = close + 1; i < line.size(); ++i)
            if (line[i] != ' ' && line[i] != '\t')
                return std::optional<bool>();
        const QByteArray name = line.mid(1, close - 1);
        const bool valid = !name.isEmpty() && std::none_of(name.begin(), name.end(), [](char c) {
            return c == '[' || c == ']' || uchar(c) < 0x20 || c == 0x7f;
        });
        return std::optional<bool>(valid);
    };
    const auto validKey = [&](const QByteArray& key) {
        qsizetype q = 0;
        while (q < key.size() && key[q] != '[' && key[q] != ']')
            ++q;
        if (q == 0 || key.front() == ' ' || key[q - 1] == ' ')
            return false;
        if (q < key.size() && key[q] == '[') {
            ++q;
            while (q < key.size() && localeChar(key[q]))
                ++q;
            if (q >= key.size() || key[q] != ']')
                return false;
            ++q;
        }
        return q == key.size();
    };
    bool inGroup = false;
    qsizetype number = 0;
    for (const QByteArray& raw : KeyFileLines(content).lines_) {
        ++number;
        QByteArray line = raw.endsWith('\n') ? raw.chopped(1) : raw;
        if (line.endsWith('\r'))
            line.chop(1);
        qsizetype start = 0;
        while (start < line.size() && isSpace(line[start]))
            ++start;
        const QByteArray text = line.mid(start);
        if (text.isEmpty() || text.startsWith('#'))
            continue;
        if (text.startsWith('[')) {
            if (const auto group = validGroupLine(text)) {
                if (!*group)
                    return RejectedLine{number, line};
                inGroup = true;
                continue;
            }
        }
        const qsizetype eq = text.indexOf('=');
        if (eq <= 0 || !inGroup)
            return RejectedLine{number, line};
        qsizetype keyEnd = eq;
        while (keyEnd > 0 && isSpace(text[keyEnd - 1]))
            --keyEnd;
        if (!validKey(text.left(keyEnd)))
            return RejectedLine{number, line};
    }
    return std::nullopt;
}

} // namespace platform::linux_
