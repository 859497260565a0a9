// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExecCommandLine.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>

namespace platform::linux_ {

ExecCommandLine::ExecCommandLine(QString text) : text_(std::move(text)) {
    qsizetype i = 0;
    const qsizetype n = text_.size();
    // "%%" is a literal percent sign, in quotes or not; other field codes are the launcher's business.
    const auto isEscapedPercent = [&](qsizetype at) {
        return text_[at] == '%' && at + 1 < n && text_[at + 1] == '%';
    };
    while (i < n) {
        if (text_[i].isSpace()) {
            ++i;
            continue;
        }
        Word word{i, i, {}};
        while (i < n && !text_[i].isSpace()) {
            const QChar c = text_[i];
            if (c == '"') {
                // Inside double quotes a backslash protects " ` $ and itself.
                ++i;
                while (i < n && text_[i] != '"') {
                    if ((text_[i] == '\\' && i + 1 < n) || isEscapedPercent(i))
                        ++i;
                    word.value += text_[i++];
                }
                if (i == n) {
                    valid_ = false;
                    return;
                }
                ++i;
            } else if (isEscapedPercent(i)) {
                word.value += '%';
                i += 2;
            } else {
                word.value += c;
                ++i;
            }
        }
        word.end = i;
        words_ << word;
    }
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
        const auto wrapper = wrappers().constFind(QFileInfo(words_[w].value).fileName());
        if (wrapper == wrappers().constEnd())
            return w;
        for (++w; w < words_.size(); ++w) {
            const QString& value = words_[w].value;
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
    return words_[*w].value;
}

QStringList ExecCommandLine::words() const {
    QStringList out;
    if (valid_)
        for (const Word& word : words_)
            out << word.value;
    return out;
}

QStringList ExecCommandLine::arguments() const {
    QStringList out;
    if (const auto w = programWord())
        for (qsizetype i = *w + 1; i < words_.size(); ++i)
            out << words_[i].value;
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
    // "@@u %u @@" is how a Flatpak export passes the link on: the words go before it, to the app.
    static const QSet<QString> codes{"%u", "%U", "%f", "%F", "@@u", "@@"};
    for (const Word& word : words_)
        if (codes.contains(word.value))
            return QString(text_).insert(word.start, words.join(' ') + ' ');
    return text_.trimmed() + ' ' + words.join(' ');
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
