// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRules.h"

#include <QCoreApplication>
#include <QUrl>

#include <algorithm>
#include <variant>

namespace Tolvane {

namespace {

// Why a pattern can never match, in the user's language (the sentences are marked where they are
// written, for the translation tools).
struct Problem {
    QString reason;
};

Problem problemText(const char* sentence) {
    return {QCoreApplication::translate("Tolvane::LinkRules", sentence)};
}

Problem invalidHost() {
    return problemText(
        QT_TRANSLATE_NOOP("Tolvane::LinkRules", "The site is not a valid host name or address."));
}

Problem emptyLabel() {
    return problemText(QT_TRANSLATE_NOOP(
        "Tolvane::LinkRules", "The site has an empty label: two dots in a row, or a dot at the start."));
}

// A pattern read once: a site compares hosts, a glob compares its parts with `globMatches`.
struct Pattern {
    bool isSite = false;
    QString host;                // ACE, lower case, no trailing dot; a glob for a glob pattern
    bool hostIsIp = false;       // a site that is an IP literal has no subdomains
    std::optional<int> port;     // a site's port; none: any port
    QString portGlob;            // a glob's port; empty: any port
    std::optional<QString> path; // a glob's path as a link's path is spelled; none: any path
};

// The parts of a web link that rules look at, spelled the way patterns are: IPv6 without brackets,
// no trailing dot, escapes in upper case.
struct Link {
    QString host;
    bool hostIsIp = false;
    int port = 0;
    QString path;
};

bool isIpLiteral(const QString& host) {
    if (host.contains(QLatin1Char(':')))
        return true;
    const QList<QStringView> parts = QStringView(host).split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (QStringView part : parts) {
        bool number = false;
        if (part.toUInt(&number) > 255 || !number)
            return false;
    }
    return true;
}

QString withoutTrailingDot(QString host) {
    if (host.size() > 1 && host.endsWith(QLatin1Char('.')))
        host.chop(1);
    return host;
}

// Whether `text` is `glob` with each `*` standing for any run of characters. Each literal piece is
// taken at its leftmost place after the one before: with `*` the only wildcard that is enough, and
// no pattern can make the matcher backtrack.
bool globMatches(QStringView glob, QStringView text) {
    const qsizetype firstStar = glob.indexOf(QLatin1Char('*'));
    if (firstStar < 0)
        return glob == text;
    const qsizetype lastStar = glob.lastIndexOf(QLatin1Char('*'));
    const QStringView head = glob.first(firstStar);
    const QStringView tail = glob.sliced(lastStar + 1);
    if (text.size() < head.size() + tail.size() || !text.startsWith(head) || !text.endsWith(tail))
        return false;
    QStringView rest = text.sliced(head.size(), text.size() - head.size() - tail.size());
    for (QStringView piece :
         glob.sliced(firstStar, lastStar - firstStar + 1).tokenize(u'*', Qt::SkipEmptyParts)) {
        const qsizetype at = rest.indexOf(piece);
        if (at < 0)
            return false;
        rest = rest.sliced(at + piece.size());
    }
    return true;
}

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// "%c3%bc" and "%C3%BC" are the same bytes: paths compare with their escapes in one case.
QString withUpperEscapes(QString path) {
    for (qsizetype i = path.indexOf(QLatin1Char('%')); i >= 0 && i + 2 < path.size();
         i = path.indexOf(QLatin1Char('%'), i + 1)) {
        if (isHexDigit(path[i + 1]) && isHexDigit(path[i + 2])) {
            path[i + 1] = path[i + 1].toUpper();
            path[i + 2] = path[i + 2].toUpper();
        }
    }
    return path;
}

bool isHostLabel(QStringView label, bool allowStar) {
    if (label.isEmpty())
        return false;
    for (QChar c : label)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-' && c != u'_' &&
            !(allowStar && c == u'*'))
            return false;
    return true;
}

// A host without `*`, read the way a link's host is read so that both are spelled alike.
std::variant<QString, Problem> literalHost(const QString& text, bool bracketed) {
    const QString withoutDot = bracketed ? text : withoutTrailingDot(text);
    if (!bracketed && withoutDot.split(QLatin1Char('.')).contains(QString()))
        return emptyLabel();
    const std::optional<WebLink> read = WebLink::read(
        QLatin1String("http://") + (bracketed ? QLatin1Char('[') + text + QLatin1Char(']') : withoutDot) +
        QLatin1Char('/'));
    // A text that reads as more than a host (a backslash ends one as "/" does) names no site.
    if (!read || read->href.size() != qsizetype(sizeof("http:///") - 1) + read->host.size())
        return invalidHost();
    if (bracketed)
        return read->host.sliced(1, read->host.size() - 2);
    if (!read->hostIsIp) {
        // Browsers take characters no DNS name carries ("!", "$"...): such a rule never fires.
        for (QStringView label : QStringView(read->host).split(QLatin1Char('.')))
            if (!isHostLabel(label, false))
                return invalidHost();
    }
    return read->host;
}

// A host with `*`: each label without one in ACE, so `*.bücher.de` meets the links' spelling.
std::variant<QString, Problem> hostGlob(const QString& text, bool bracketed) {
    if (bracketed) {
        for (QChar c : text)
            if (!isHexDigit(c) && c != u':' && c != u'.' && c != u'*')
                return invalidHost();
        return text.toLower();
    }
    QStringList labels = withoutTrailingDot(text).split(QLatin1Char('.'));
    for (QString& label : labels) {
        if (label.isEmpty())
            return emptyLabel();
        if (label.contains(QLatin1Char('*'))) {
            if (!isHostLabel(label, true))
                return problemText(QT_TRANSLATE_NOOP(
                    "Tolvane::LinkRules", "A “*” cannot share a part of the site with letters outside a–z."));
            label = label.toLower();
        } else {
            label = QString::fromLatin1(QUrl::toAce(label));
            if (!isHostLabel(label, false))
                return invalidHost();
        }
    }
    return labels.join(QLatin1Char('.'));
}

// The part before the first "/", split into host and port.
struct Authority {
    QString host;
    bool bracketed = false;
    std::optional<QString> port;
};

std::variant<Authority, Problem> splitAuthority(const QString& text) {
    Authority authority;
    authority.bracketed = text.startsWith(QLatin1Char('['));
    if (authority.bracketed) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return problemText(
                QT_TRANSLATE_NOOP("Tolvane::LinkRules", "The “[” before an IPv6 address has no “]”."));
        authority.host = text.sliced(1, close - 1);
        const QString rest = text.sliced(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return problemText(QT_TRANSLATE_NOOP("Tolvane::LinkRules",
                                                 "Only a port may follow an IPv6 address, like [::1]:8080."));
        if (!rest.isEmpty())
            authority.port = rest.sliced(1);
        return authority;
    }
    const qsizetype colons = text.count(QLatin1Char(':'));
    if (colons > 1)
        return problemText(
            QT_TRANSLATE_NOOP("Tolvane::LinkRules", "Write an IPv6 address in brackets, like [::1]."));
    authority.host = text.section(QLatin1Char(':'), 0, 0);
    if (colons == 1)
        authority.port = text.section(QLatin1Char(':'), 1);
    return authority;
}

// A port from 1 to 65535, or digits with `*` in a glob.
bool isPort(const QString& text) {
    const bool digitsAndStars = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || c == u'*';
    });
    const int port = text.toInt();
    return digitsAndStars && (text.contains(QLatin1Char('*')) || (port >= 1 && port <= 65535));
}

// Whatever a user may type that can never stand for a site, before the site itself is read.
std::optional<Problem> shapeProblem(const QString& text, qsizetype slash) {
    if (text.isEmpty())
        return problemText(QT_TRANSLATE_NOOP("Tolvane::LinkRules", "The pattern is empty."));
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); }))
        return problemText(QT_TRANSLATE_NOOP("Tolvane::LinkRules", "A pattern cannot contain spaces."));
    if (text.contains(QLatin1Char('?')) || text.contains(QLatin1Char('#')))
        return problemText(QT_TRANSLATE_NOOP(
            "Tolvane::LinkRules", "Links are matched without what follows “?” or “#”; leave that out."));
    if (slash >= 0 && text.first(slash).endsWith(QLatin1Char(':')) &&
        text.sliced(slash).startsWith(QLatin1String("//")))
        return problemText(QT_TRANSLATE_NOOP(
            "Tolvane::LinkRules", "Leave out the scheme (“https://”): a pattern starts with the site."));
    if (slash == 0)
        return problemText(QT_TRANSLATE_NOOP(
            "Tolvane::LinkRules", "The pattern names no site before “/” (“*/” stands for any site)."));
    if (text.first(slash < 0 ? text.size() : slash).contains(QLatin1Char('@')))
        return problemText(
            QT_TRANSLATE_NOOP("Tolvane::LinkRules", "A pattern names a site, not a user name before “@”."));
    return std::nullopt;
}

std::variant<Pattern, Problem> parsePattern(const QString& text) {
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    if (std::optional<Problem> problem = shapeProblem(text, slash))
        return *problem;
    auto split = splitAuthority(slash < 0 ? text : text.first(slash));
    if (split.index() == 1)
        return std::get<1>(split);
    const Authority& authority = std::get<0>(split);

    Pattern pattern;
    pattern.isSite = slash < 0 && !text.contains(QLatin1Char('*'));
    if (authority.port && !isPort(*authority.port))
        return problemText(
            QT_TRANSLATE_NOOP("Tolvane::LinkRules", "The port must be a number from 1 to 65535."));
    if (authority.port && pattern.isSite)
        pattern.port = authority.port->toInt();
    else if (authority.port)
        pattern.portGlob = *authority.port;

    auto host = authority.host.contains(QLatin1Char('*')) ? hostGlob(authority.host, authority.bracketed)
                                                          : literalHost(authority.host, authority.bracketed);
    if (host.index() == 1)
        return std::get<1>(host);
    pattern.host = std::get<0>(host);
    pattern.hostIsIp = authority.bracketed || isIpLiteral(pattern.host);

    if (slash >= 0) {
        // Read as a link's path is read, so `Zürich` meets `Z%C3%BCrich`.
        pattern.path = withUpperEscapes(WebLink::readPath(QStringView(text).sliced(slash)));
    }
    return pattern;
}

Link linkParts(const WebLink& web) {
    Link link;
    link.host = web.host.startsWith(QLatin1Char('[')) ? web.host.sliced(1, web.host.size() - 2)
                                                      : withoutTrailingDot(web.host);
    link.hostIsIp = web.hostIsIp;
    link.port = web.port;
    link.path = withUpperEscapes(web.path);
    return link;
}

bool matches(const Pattern& pattern, const Link& link) {
    if (pattern.isSite) {
        if (pattern.port && *pattern.port != link.port)
            return false;
        if (link.host == pattern.host)
            return true;
        return !pattern.hostIsIp && !link.hostIsIp && link.host.endsWith(QLatin1Char('.') + pattern.host);
    }
    // Host, port and path each on their own: a `*` in the host never reaches into the path.
    return globMatches(pattern.host, link.host) &&
           (pattern.portGlob.isEmpty() || globMatches(pattern.portGlob, QString::number(link.port))) &&
           (!pattern.path || globMatches(*pattern.path, link.path));
}

bool matches(const QString& pattern, const Link& link) {
    const auto parsed = parsePattern(pattern);
    return parsed.index() == 0 && matches(std::get<0>(parsed), link);
}

} // namespace

std::optional<QString> linkPatternProblem(const QString& pattern) {
    auto parsed = parsePattern(pattern);
    if (parsed.index() == 1)
        return std::get<1>(std::move(parsed)).reason;
    return std::nullopt;
}

bool linkPatternMatches(const QString& pattern, const WebLink& link) {
    return matches(pattern, linkParts(link));
}

std::optional<qsizetype> firstMatchingRule(const QList<LinkRule>& rules, const WebLink& link) {
    const Link parts = linkParts(link);
    for (qsizetype i = 0; i < rules.size(); ++i)
        if (matches(rules[i].pattern, parts))
            return i;
    return std::nullopt;
}

} // namespace Tolvane
