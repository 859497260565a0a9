// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform::linux_ {

// A key file (mimeapps.list, kdeglobals) kept as its original lines, so that changing one key
// leaves every other byte as it was: comments, unknown groups, odd spacing, even lines that do
// not parse. Only the lines of the keys that are set are rewritten. Flags after a key name, like KDE's
// "Key[$e]", are not part of its name.
class KeyFileLines {
public:
    KeyFileLines() = default;
    explicit KeyFileLines(const QByteArray& content);

    QByteArray content() const { return lines_.join(); }

    // The empty group is the lines before the first group header (files such as XFCE's helpers.rc
    // keep their keys there).
    // The value of `key` in `group` (the last one, as readers let later lines win); none when absent.
    std::optional<QString> value(const QString& group, const QString& key) const;
    // A ';'-separated list value, empty items dropped.
    QStringList list(const QString& group, const QString& key) const;
    bool hasGroup(const QString& group) const;

    // Sets every line of `key` in `group` to `value`; adds the key (and the group) when missing.
    void setValue(const QString& group, const QString& key, const QString& value);
    // Puts `item` first in the list value of `key`, keeping the other items in their order.
    void prependToList(const QString& group, const QString& key, const QString& item);
    // Removes `item` from the list value of `key` where it is present; other lines untouched.
    void removeFromList(const QString& group, const QString& key, const QString& item);

    static QString joinList(const QStringList& items);

    // The first line that makes GLib's key-file loader refuse the whole file (as GTK applications
    // and gio then read none of it): its number, from 1, and its text; none when GLib loads it.
    struct RejectedLine {
        qsizetype number;
        QByteArray text;
    };
    static std::optional<RejectedLine> firstLineGLibRejects(const QByteArray& content);

private:
    struct KeyLine {
        qsizetype index;
        QString spelling; // the key as written, with any flags
        QString value;
    };
    QList<KeyLine> keyLines(const QString& group, const QString& key) const;
    static std::optional<QString> groupOf(const QByteArray& line);
    static bool splitKey(const QByteArray& line, QString* spelling, QString* key, QString* value);
    void replaceLine(qsizetype index, const QString& key, const QString& value);
    // The line ending a line added before `index` takes: its neighbour's, else the file's.
    QByteArray eolFor(qsizetype index) const;

    QList<QByteArray> lines_; // each with its own line ending, so joining gives the file back
};

} // namespace platform::linux_
