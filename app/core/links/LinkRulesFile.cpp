// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRulesFile.h"

#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tolvane {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Tolvane::LinkRulesFile", text);
}

} // namespace

QString LinkRulesFile::defaultPath() {
    return platform::tolvaneConfigDir() + QStringLiteral("/links.rules");
}

LinkRulesFile::LinkRulesFile(QString path) : path_(std::move(path)) {}

bool LinkRulesFile::load() {
    lines_.clear();
    error_.clear();
    const QByteArray name = QFile::encodeName(path_);
    // Opened without waiting: a named pipe in the file's place must not hold a link up.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        error_ = tr("Could not read \u201c%1\u201d: %2").arg(path_, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    struct stat st;
    QByteArray content;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxFileSize;
    if (ok) {
        content.resize(st.st_size);
        qsizetype got = 0;
        while (got < content.size()) {
            const ssize_t n = ::read(fd, content.data() + got, content.size() - got);
            if (n <= 0)
                break;
            got += n;
        }
        content.truncate(got);
    }
    ::close(fd);
    if (!ok) {
        error_ = tr("Could not read \u201c%1\u201d: it is not a regular file of at most 1 MiB").arg(path_);
        return false;
    }
    return parse(content);
}

bool LinkRulesFile::parse(const QByteArray& content) {
    lines_.clear();
    error_.clear();
    static const QRegularExpression space(QStringLiteral("[ \\t]+"));
    const QList<QByteArray> raw = content.split('\n');
    for (qsizetype i = 0; i < raw.size(); ++i) {
        QByteArray text = raw[i];
        if (text.endsWith('\r'))
            text.chop(1);
        if (i == raw.size() - 1 && text.isEmpty())
            break; // the file's last line ending
        Line line{text, false, {}};
        const QString trimmed = QString::fromUtf8(text).trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith('#')) {
            const QStringList fields = trimmed.split(space);
            const auto problem = fields.size() == 2
                                     ? linkPatternProblem(fields[0])
                                     : std::optional<QString>(tr("a rule is a pattern and a browser"));
            if (problem) {
                error_ = tr("\u201c%1\u201d, line %2: %3").arg(path_).arg(i + 1).arg(*problem);
                lines_.clear();
                return false;
            }
            line.isRule = true;
            line.rule = LinkRule{fields[0], fields[1]};
        }
        lines_ << line;
    }
    return true;
}

QList<LinkRule> LinkRulesFile::rules() const {
    QList<LinkRule> out;
    for (const Line& line : lines_)
        if (line.isRule)
            out << line.rule;
    return out;
}

qsizetype LinkRulesFile::lineOfRule(qsizetype index) const {
    qsizetype seen = 0;
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (lines_[i].isRule && seen++ == index)
            return i;
    return -1;
}

QByteArray LinkRulesFile::lineFor(const LinkRule& rule) {
    return rule.pattern.toUtf8() + ' ' + rule.target.toUtf8();
}

void LinkRulesFile::append(const LinkRule& rule) {
    lines_ << Line{lineFor(rule), true, rule};
}

bool LinkRulesFile::remove(qsizetype index) {
    const qsizetype at = lineOfRule(index);
    if (at < 0)
        return false;
    lines_.removeAt(at);
    return true;
}

bool LinkRulesFile::replace(qsizetype index, const LinkRule& rule) {
    const qsizetype at = lineOfRule(index);
    if (at < 0)
        return false;
    lines_[at] = Line{lineFor(rule), true, rule};
    return true;
}

bool LinkRulesFile::move(qsizetype from, qsizetype to) {
    const qsizetype a = lineOfRule(from);
    const qsizetype b = lineOfRule(to);
    if (a < 0 || b < 0)
        return false;
    // The rule takes the other's place; comments stay where they were.
    const Line moving = lines_[a];
    lines_.removeAt(a);
    lines_.insert(b, moving);
    return true;
}

QByteArray LinkRulesFile::content() const {
    QByteArray out;
    for (const Line& line : lines_)
        out += line.text + '\n';
    return out;
}

bool LinkRulesFile::save() {
    error_.clear();
    QDir().mkpath(QFileInfo(path_).path());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(content()) < 0 || !file.commit()) {
        error_ = tr("Could not write \u201c%1\u201d: %2").arg(path_, file.errorString());
        return false;
    }
    return true;
}

} // namespace Tolvane
