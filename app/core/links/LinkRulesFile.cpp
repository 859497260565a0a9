// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRulesFile.h"

#include "RegularFile.h"
#include "platform/Paths.h"
#include "platform/linux/xdg/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

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
    const auto file = links::readRegularFile(path_, maxFileSize, &error_);
    if (!file)
        return false;
    return parse(file->content);
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
            // The pattern, then the browser: the rest of the line.
            const qsizetype gap = trimmed.indexOf(space);
            QStringList fields = gap < 0 ? QStringList{trimmed}
                                         : QStringList{trimmed.first(gap), trimmed.sliced(gap).trimmed()};
            // Only a desktop file ID may hold a space; other words after the browser are no rule.
            if (fields.size() == 2 && fields[1].contains(space) &&
                !fields[1].endsWith(QLatin1String(".desktop")))
                fields << QString();
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

void LinkRulesFile::insertBefore(const QUrl& link, const LinkRule& rule) {
    const auto deciding = firstMatchingRule(rules(), link);
    if (!deciding) {
        append(rule);
        return;
    }
    lines_.insert(lineOfRule(*deciding), Line{lineFor(rule), true, rule});
}

bool LinkRulesFile::update(const std::function<bool(LinkRulesFile&)>& change, QString* error,
                           const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    // Beside the file, never in its place: an editor that replaces the file keeps the lock working.
    const platform::linux_::FileLock lock(path + QStringLiteral(".lock"));
    if (!lock.isLocked()) {
        *error = lock.error();
        return false;
    }
    LinkRulesFile file(path);
    if (!file.load()) {
        *error = file.error();
        return false;
    }
    if (!change(file)) {
        *error = file.error();
        return false;
    }
    if (!file.save()) {
        *error = file.error();
        return false;
    }
    return true;
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
    const QByteArray text = content();
    // What the reader would refuse is never written: every rule must come back as it went in.
    LinkRulesFile check(path_);
    if (!check.parse(text) || check.rules().size() != rules().size()) {
        error_ = tr("Could not write “%1”: %2").arg(path_, check.error());
        return false;
    }
    const QList<LinkRule> back = check.rules(), mine = rules();
    for (qsizetype i = 0; i < mine.size(); ++i)
        if (back[i].pattern != mine[i].pattern || back[i].target != mine[i].target) {
            error_ = tr("Could not write “%1”: the rule for “%2” would not read back as "
                        "written")
                         .arg(path_, mine[i].pattern);
            return false;
        }
    QDir().mkpath(QFileInfo(path_).path());
    return platform::linux_::replaceFileAtomically(path_, text, &error_);
}

} // namespace Tolvane
