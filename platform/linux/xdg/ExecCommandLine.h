// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform::linux_ {

// The command of a desktop entry's Exec key (its string escapes already undone), split into words by the
// entry format's quoting, so the program can be found and replaced without touching the arguments.
class ExecCommandLine {
public:
    explicit ExecCommandLine(QString text);

    // The program the command starts: the first word, or the one that environment setters and
    // sandboxes (env, firejail, bwrap, with their options and NAME=value words) start in turn.
    // None when there is no such word or the quoting is broken.
    std::optional<QString> program() const;
    // The words after the program's, quotes removed; field codes as written.
    QStringList arguments() const;
    // The command with the program's word replaced by `word` (already quoted); the rest as written.
    std::optional<QString> withProgram(const QString& word) const;
    // The command with `words` (already quoted) put before the first field code, or at its end.
    QString withWordsBeforeFieldCodes(const QStringList& words) const;

private:
    struct Word {
        qsizetype start;
        qsizetype end;
        QString value; // quotes removed, "%%" as "%"
    };
    std::optional<qsizetype> programWord() const;

    QString text_;
    QList<Word> words_;
    bool valid_ = true;
};

// One Exec argument: '%' doubled, and reserved characters protected by double quotes.
QString quoteExecArgument(QString argument);

} // namespace platform::linux_
