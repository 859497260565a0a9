// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExecCommandLine.h"

#include "ArgumentBytes.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cctype>

namespace platform::linux_ {

ExecCommandLine::ExecCommandLine(QString text) : text_(std::move(text)) {
    const qsizetype n = text_.size();
    const auto separates = [](QChar c) { return c == ' ' || c == '\t' || c == '\n'; };
    qsizetype i = 0;
    while (i < n) {
        if (separates(text_[i])) {
            ++i;
            continue;
        }
        Word word{i, i, {}};
        const auto literal = [&](QChar c) {
            if (word.pieces.isEmpty() || word.pieces.last().code)
                word.pieces << Piece{};
            word.pieces.last().text += c;
        };
        // '%' is read before any quoting, as launchers expand codes first: "%%" is a '%' also in
        // quotes, and a lone '%' at the very end stays one.
        const auto percent = [&] {
            if (i + 1 == n) {
                literal(text_[i++]);
            } else if (text_[i + 1] == '%') {
                literal('%');
                i += 2;
            } else {
                word.pieces << Piece{{}, text_[i + 1].unicode()};
                i += 2;
            }
        };
        while (i < n && !separates(text_[i])) {
            const QChar c = text_[i];
            if (c == '"' || c == '\'') {
                // In double quotes a backslash protects " ` $ \ and a line break; in single ones nothing.
                word.quoted = true;
                ++i;
                while (i < n && text_[i] != c) {
                    if (c == '"' && text_[i] == '\\' && i + 1 < n &&
                        QStringView(u"\"`$\\\n").contains(text_[i + 1])) {
                        if (text_[i + 1] != '\n')
                            literal(text_[i + 1]);
                        i += 2;
                    } else if (text_[i] == '%') {
                        percent();
                    } else {
                        literal(text_[i++]);
                    }
                }
                if (i == n) {
                    valid_ = false;
                    return;
                }
                ++i;
            } else if (c == '\\' && i + 1 < n && text_[i + 1] != '%') {
                if (text_[i + 1] != '\n')
                    literal(text_[i + 1]);
                i += 2;
            } else if (c == '\\') {
                ++i; // before '%' it protects what the code expands to, which is taken whole anyway
            } else if (c == '%') {
                percent();
            } else {
                literal(text_[i++]);
            }
        }
        word.end = i;
        words_ << word;
    }
}

QString ExecCommandLine::Word::value() const {
    QString out;
    for (const Piece& piece : pieces)
        out += piece.code ? QStringLiteral("%") + QChar(piece.code) : piece.text;
    return out;
}

bool ExecCommandLine::Word::isLinkCode() const {
    if (pieces.size() != 1)
        return false;
    const Piece& only = pieces.first();
    // "@@u %u @@" is how a Flatpak export passes the link on.
    return (only.code && QStringView(u"uUfF").contains(QChar(only.code))) ||
           (!only.code && only.text == QLatin1String("@@u"));
}

namespace {

// Programs that run another one after their own options, and those of their options that take
// the next word as a value: environment setters and sandboxes.
const QHash<QString, QSet<QString>>& wrappers() {
    static const QHash<QString, QSet<QString>> table{
        {QStringLiteral("env"), {"-u", "--unset", "-C", "--chdir", "-S", "--split-string"}},
        {QStringLiteral("firejail"), {}}, // its options are single words (--name=value)
        {QStringLiteral("bwrap"),
         {"--bind",
          "--bind-try",
          "--dev-bind",
          "--dev-bind-try",
          "--ro-bind",
          "--ro-bind-try",
          "--symlink",
          "--setenv",
          "--file",
          "--bind-data",
          "--ro-bind-data",
          "--chmod",
          "--dev",
          "--proc",
          "--tmpfs",
          "--mqueue",
          "--dir",
          "--remount-ro",
          "--unsetenv",
          "--chdir",
          "--uid",
          "--gid",
          "--hostname",
          "--args",
          "--userns",
          "--userns2",
          "--pidns",
          "--lock-file",
          "--sync-fd",
          "--info-fd",
          "--json-status-fd",
          "--block-fd",
          "--userns-block-fd",
          "--seccomp",
          "--add-seccomp-fd",
          "--exec-label",
          "--file-label",
          "--cap-add",
          "--cap-drop",
          "--perms",
          "--size",
          "--argv0"}},
    };
    return table;
}

// Words that take a second value word besides the first (bwrap's SOURCE DEST pairs and the like).
bool takesTwoValues(const QString& option) {
    static const QSet<QString> two{"--bind",    "--bind-try",    "--dev-bind",     "--dev-bind-try",
                                   "--ro-bind", "--ro-bind-try", "--symlink",      "--setenv",
                                   "--file",    "--bind-data",   "--ro-bind-data", "--chmod"};
    return two.contains(option);
}

} // namespace

std::optional<qsizetype> ExecCommandLine::programWord() const {
    if (!valid_ || words_.isEmpty())
        return std::nullopt;
    qsizetype w = 0;
    // Through any chain of wrappers ("env VAR=1 firejail --noprofile browser").
    while (w < words_.size()) {
        const auto wrapper = wrappers().constFind(QFileInfo(words_[w].value()).fileName());
        if (wrapper == wrappers().constEnd())
            return w;
        for (++w; w < words_.size(); ++w) {
            const QString value = words_[w].value();
            if (value == QLatin1String("--")) {
                ++w;
                break;
            }
            if (wrapper->contains(value)) {
                w += takesTwoValues(value) ? 2 : 1;
                continue;
            }
            // Options, and env's NAME=value assignments (a path may hold '=' after a '/').
            if (!value.startsWith('-') && !value.section('/', 0, 0).contains('='))
                break;
        }
    }
    return std::nullopt;
}

std::optional<QString> ExecCommandLine::program() const {
    const auto w = programWord();
    if (!w)
        return std::nullopt;
    return words_[*w].value();
}

QStringList ExecCommandLine::words() const {
    QStringList out;
    if (valid_)
        for (const Word& word : words_)
            out << word.value();
    return out;
}

QStringList ExecCommandLine::arguments() const {
    QStringList out;
    if (const auto w = programWord())
        for (qsizetype i = *w + 1; i < words_.size(); ++i)
            out << words_[i].value();
    return out;
}

std::optional<QString> ExecCommandLine::withProgram(const QString& word) const {
    const auto w = programWord();
    if (!w)
        return std::nullopt;
    QString text = text_;
    return text.replace(words_[*w].start, words_[*w].end - words_[*w].start, word);
}

QString ExecCommandLine::withWordsBeforeFieldCodes(const QStringList& words) const {
    for (const Word& word : words_)
        if (word.isLinkCode())
            return QString(text_).insert(word.start, words.join(' ') + ' ');
    return text_.trimmed() + ' ' + words.join(' ');
}

namespace {

// The local file a file: link names, as GLib's local files read it: the fragment dropped, any host
// ignored, escapes decoded (never to '/' or NUL), the path made plain. None for any other link.
std::optional<QByteArray> localPathOf(const QString& link) {
    QByteArray uri = argumentBytes(link);
    if (const qsizetype hash = uri.indexOf('#'); hash >= 0)
        uri.truncate(hash);
    if (!uri.startsWith("file:") && !uri.toLower().startsWith("file:"))
        return std::nullopt;
    QByteArray rest = uri.mid(5);
    if (rest.startsWith("///")) {
        rest = rest.mid(2);
    } else if (rest.startsWith("//")) {
        const qsizetype slash = rest.indexOf('/', 2);
        if (slash < 0 || slash == 2)
            return std::nullopt;
        rest = rest.mid(slash);
    }
    if (!rest.startsWith('/'))
        return std::nullopt;
    QByteArray path;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            path += rest[i];
            continue;
        }
        if (i + 2 >= rest.size() || !isxdigit(uchar(rest[i + 1])) || !isxdigit(uchar(rest[i + 2])))
            return std::nullopt;
        const char c = char(QByteArray::fromHex(rest.mid(i + 1, 2)).at(0));
        if (c == '\0' || c == '/')
            return std::nullopt;
        path += c;
        i += 2;
    }
    // "." and ".." resolved and doubled slashes merged, as GLib does before giving the path.
    QList<QByteArray> parts;
    for (const QByteArray& part : path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts << part;
    }
    QByteArray plain;
    for (const QByteArray& part : parts)
        plain += '/' + part;
    return plain.isEmpty() ? QByteArray("/") : plain;
}

// What a link's field code puts in its place.
QString linkArgument(char16_t code, const QString& link) {
    if (code == 'f' || code == 'F')
        if (const auto path = localPathOf(link))
            return argumentText(*path);
    return link;
}

// GLib names its icons without the extension a common mistake adds, and passes them so.
QString iconArgument(const QString& icon) {
    if (icon.startsWith('/'))
        return icon;
    for (const char* extension : {".png", ".xpm", ".svg"})
        if (icon.endsWith(QLatin1String(extension)))
            return icon.chopped(4);
    return icon;
}

} // namespace

std::optional<QList<QStringList>> ExecCommandLine::runs(const QStringList& links, const ExecEntryFacts& facts,
                                                        QString* error) const {
    if (!valid_) {
        *error = QStringLiteral("its quoting is broken");
        return std::nullopt;
    }
    if (words_.isEmpty()) {
        *error = QStringLiteral("it is empty");
        return std::nullopt;
    }
    for (const QString& link : links)
        if (link.startsWith('-')) {
            *error = QStringLiteral("\u201c%1\u201d begins with \u201c-\u201d and would read as an option")
                         .arg(link);
            return std::nullopt;
        }
    QList<QStringList> runs;
    qsizetype next = 0;
    do {
        const qsizetype first = next;
        QStringList argv;
        for (const Word& word : words_) {
            // A word is one argument, or several where a code expands to more than one.
            QString current;
            bool exists = word.quoted;
            const auto add = [&](const QString& value) {
                current += value;
                exists = true;
            };
            const auto split = [&] {
                if (exists)
                    argv << current;
                current.clear();
                exists = false;
            };
            for (const Piece& piece : word.pieces) {
                switch (piece.code) {
                case 0:
                    current += piece.text;
                    exists = exists || !piece.text.isEmpty();
                    break;
                case 'u':
                case 'f':
                    if (next < links.size())
                        add(linkArgument(piece.code, links[next++]));
                    break;
                case 'U':
                case 'F':
                    for (bool firstLink = true; next < links.size(); firstLink = false) {
                        if (!firstLink)
                            split();
                        add(linkArgument(piece.code, links[next++]));
                    }
                    break;
                case 'i':
                    if (!facts.icon.isNull()) {
                        add(QStringLiteral("--icon"));
                        split();
                        add(iconArgument(facts.icon));
                    }
                    break;
                case 'c':
                    if (!facts.name.isNull())
                        add(facts.name);
                    break;
                case 'k':
                    if (!facts.location.isNull())
                        add(facts.location);
                    break;
                default: // %d %D %n %N %v %m are deprecated: nothing, as unknown codes
                    break;
                }
            }
            split();
        }
        if (next == first && next < links.size())
            argv << linkArgument('f', links[next++]);
        runs << argv;
    } while (next < links.size());
    return runs;
}

QString quoteExecArgument(QString argument) {
    argument.replace('%', QLatin1String("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool plain =
        std::none_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
    if (plain && !argument.isEmpty())
        return argument;
    QString quoted = QStringLiteral("\"");
    for (QChar c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace platform::linux_
