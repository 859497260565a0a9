#include "KeyFileLines.h"

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
        eol = "\n";
    lines_[index] = key.toUtf8() + '=' + value.toUtf8() + eol;
}

void KeyFileLines::setValue(const QString& group, const QString& key, const QString& value) {
    const auto found = keyLines(group, key);
    for (const KeyLine& line : found)
        replaceLine(line.index, line.spelling, value); // flags such as [$e] stay with the key
    if (!found.isEmpty())
        return;
    const QByteArray newLine = key.toUtf8() + '=' + value.toUtf8() + '\n';
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
    if ((insertAt < 0 || insertAt == lines_.size()) && !lines_.isEmpty() && !lines_.back().endsWith('\n'))
        lines_.back() += '\n'; // the file ended mid-line; end it before adding after it
    if (insertAt < 0) {
        if (!lines_.isEmpty() && !stripEol(lines_.back()).trimmed().isEmpty())
            lines_ << "\n";
        lines_ << '[' + group.toUtf8() + "]\n" << newLine;
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

} // namespace platform::linux_
