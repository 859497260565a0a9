// SPDX-License-Identifier: GPL-3.0-or-later
// The one reader of a desktop entry's Exec line: its words for whoever looks at the program, and the
// argument lists that start it for some links, field codes expanded in the same single pass.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform::linux_ {

// What the field codes that stand for no link expand to: the entry's Icon (%i), its shown Name (%c)
// and where its file is (%k). A null string expands to nothing.
struct ExecEntryFacts {
    QString icon;
    QString name;
    QString location;
};

// The command of a desktop entry's Exec key (its string escapes already undone), split into words by the
// entry format's quoting (and the shell quoting launchers accept besides: single quotes, a backslash
// outside quotes), so the program can be found and replaced without touching the arguments.
class ExecCommandLine {
public:
    explicit ExecCommandLine(QString text);

    // The program the command starts: the first word, or the one that environment setters and
    // sandboxes (env, firejail, bwrap, with their options and NAME=value words) start in turn.
    // None when there is no such word or the quoting is broken.
    std::optional<QString> program() const;
    // Every word, quotes removed, "%%" as "%", other field codes as written. Empty when the quoting is
    // broken.
    QStringList words() const;
    // The words after the program's, as words() gives them.
    QStringList arguments() const;
    // The command with the program's word replaced by `word` (already quoted); the rest as written.
    std::optional<QString> withProgram(const QString& word) const;
    // The command with `words` (already quoted) put before the first word that is a link's field code
    // alone (or Flatpak's "@@u"), or at its end.
    QString withWordsBeforeFieldCodes(const QStringList& words) const;

    // The argument lists that run the command for `links`, as GLib's launcher builds them: %u and %f
    // take the next link, %U and %F the rest, also inside a word ("--url=%u"); one run after another
    // until every link is taken, a link that no code takes appended as %f. %f and %F give a file: link's
    // local path; any other link stays a link (never dropped). %i is "--icon" and the icon, %c the name,
    // %k the file; deprecated and unknown codes expand to nothing. None, with `error`, when the quoting
    // is broken, the command is empty, or a link begins with '-' (it would read as an option).
    std::optional<QList<QStringList>> runs(const QStringList& links, const ExecEntryFacts& facts,
                                           QString* error) const;

private:
    // Literal text, or one field code (its letter in `code`).
    struct Piece {
        QString text;
        char16_t code = 0;
    };
    struct Word {
        qsizetype start;
        qsizetype end;
        QList<Piece> pieces;
        bool quoted = false; // quotes make an argument even when nothing is between them
        QString value() const;
        bool isLinkCode() const;
    };
    std::optional<qsizetype> programWord() const;

    QString text_;
    QList<Word> words_;
    bool valid_ = true;
};

// One Exec argument: '%' doubled, and reserved characters protected by double quotes.
QString quoteExecArgument(QString argument);

} // namespace platform::linux_
