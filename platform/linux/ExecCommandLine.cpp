#include "ExecCommandLine.h"

#include <QFileInfo>

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

std::optional<qsizetype> ExecCommandLine::programWord() const {
    if (!valid_ || words_.isEmpty())
        return std::nullopt;
    if (QFileInfo(words_[0].value).fileName() != QLatin1String("env"))
        return 0;
    // env's options and NAME=value assignments come before the program it runs.
    for (qsizetype w = 1; w < words_.size(); ++w) {
        const QString& value = words_[w].value;
        if (!value.startsWith('-') && !value.section('/', 0, 0).contains('='))
            return w;
    }
    return std::nullopt;
}

std::optional<QString> ExecCommandLine::program() const {
    const auto w = programWord();
    if (!w)
        return std::nullopt;
    return words_[*w].value;
}

std::optional<QString> ExecCommandLine::withProgram(const QString& word) const {
    const auto w = programWord();
    if (!w)
        return std::nullopt;
    QString text = text_;
    return text.replace(words_[*w].start, words_[*w].end - words_[*w].start, word);
}

} // namespace platform::linux_
