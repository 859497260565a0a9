// SPDX-License-Identifier: GPL-3.0-or-later
// The user's link rules on disk: a file a person can edit, read the same way by the router, the
// settings window and the command line.
#pragma once

#include "LinkRules.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>

namespace Tolvane {

// One rule a line, "PATTERN TARGET" (any run of spaces or tabs between), the first match wins;
// lines starting with '#' and blank lines are comments. Tolvane's own writes keep every comment
// and the order, and change only the lines of the rules they change.
class LinkRulesFile {
public:
    static constexpr qint64 maxFileSize = 1024 * 1024;
    // <config home>/tolvane/links.rules
    static QString defaultPath();
    explicit LinkRulesFile(QString path = defaultPath());

    const QString& path() const { return path_; }
    // Reads the file; a missing one holds no rules. False when it cannot be read or a line is no
    // rule: error() then names the file, the line and why, and rules() is empty.
    bool load();
    // Reads `content` as the file's.
    bool parse(const QByteArray& content);
    const QString& error() const { return error_; }
    QList<LinkRule> rules() const;

    // Reads the file, lets `change` edit it and writes it back, all under the rules' lock, so that
    // writers in other windows and processes never lose each other's rules. False, with `error`,
    // when the file cannot be read or written or `change` says no.
    static bool update(const std::function<bool(LinkRulesFile&)>& change, QString* error,
                       const QString& path = defaultPath());

    void append(const LinkRule& rule);
    // Puts `rule` before the first rule that decides `link` today, so that it decides it from now on;
    // at the end when none does.
    void insertBefore(const QUrl& link, const LinkRule& rule);
    // Each false when there is no rule at that index.
    bool remove(qsizetype index);
    bool replace(qsizetype index, const LinkRule& rule);
    bool move(qsizetype from, qsizetype to);

    QByteArray content() const;
    // Writes the file in one step (its folder made when missing); false with error() set, also when
    // the result would not read back as these rules.
    bool save();

private:
    struct Line {
        QByteArray text; // as written, without its line ending
        bool isRule = false;
        LinkRule rule;
    };
    qsizetype lineOfRule(qsizetype index) const;
    static QByteArray lineFor(const LinkRule& rule);

    QString path_;
    QList<Line> lines_;
    QString error_;
};

} // namespace Tolvane
