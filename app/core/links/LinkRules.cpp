// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRules.h"

#include <QCoreApplication>

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
    std::optional<QString> path; // a glob's path as QUrl sends it; none: any path
};

// The parts of a web link that rules look at, spelled the way patterns are.
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

bool isHostLabel(QStringView label, bool allowStar) {
    if (label.isEmpty())
        return false;
    for (QChar c : label)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-' && c != u'_' &&
            !(allowStar && c == u'*'))
            return false;
    return true;
}

// A host without `*`, as QUrl would spell it in a link: ACE, lower case, IP literals in one form.
std::variant<QString, Problem> literalHost(const QString& text, bool bracketed) {
    const QString withoutDot = bracketed ? text : withoutTrailingDot(text);
    if (!bracketed && withoutDot.split(QLatin1Char('.')).contains(QString()))
        return emptyLabel();
    QUrl parsed;
    parsed.setScheme(QStringLiteral("http"));
    parsed.setAuthority(bracketed ? QLatin1Char('[') + text + QLatin1Char(']') : withoutDot,
                        QUrl::StrictMode);
    const QString host = parsed.host(QUrl::FullyEncoded);
    if (!parsed.isValid() || host.isEmpty())
        return invalidHost();
    if (!bracketed && !isIpLiteral(host)) {
        // QUrl lets through characters no DNS name carries ("!", "$"...): such a rule never fires.
        for (QStringView label : QStringView(host).split(QLatin1Char('.')))
            if (!isHostLabel(label, false))
                return invalidHost();
    }
    return host;
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
        // The path in the encoding QUrl gives a link's path, so `Zürich` meets `Z%C3%BCrich`.
        QUrl path;
        path.setPath(text.sliced(slash), QUrl::TolerantMode);
        pattern.path = path.path(QUrl::FullyEncoded);
    }
    return pattern;
}

// The path a browser asks for: "." and ".." segments resolved the way it resolves them, every other
// slash kept (Qt 6.4's NormalizePathSegments also merges a leading "//").
QString withoutDotSegments(const QString& path) {
    if (!path.contains(QLatin1Char('.')))
        return path;
    const QList<QStringView> segments = QStringView(path).sliced(1).split(QLatin1Char('/'));
    QStringList kept;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const QStringView segment = segments[i];
        const bool dot = segment == QLatin1String("."), dotDot = segment == QLatin1String("..");
        if (dotDot && !kept.isEmpty())
            kept.removeLast();
        if (!dot && !dotDot)
            kept.append(segment.toString());
        else if (i == segments.size() - 1)
            kept.append(QString()); // "/a/b/.." asks for "/a/"
    }
    return QLatin1Char('/') + kept.join(QLatin1Char('/'));
}

std::optional<Link> webLink(const QUrl& url) {
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    Link link;
    // The parsed host: never a search of the text, where "example.com@evil.net" hides.
    link.host = withoutTrailingDot(url.host(QUrl::FullyEncoded).toLower());
    if (link.host.isEmpty())
        return std::nullopt;
    link.hostIsIp = isIpLiteral(link.host);
    link.port = url.port(scheme == QLatin1String("https") ? 443 : 80);
    const QString path = url.path(QUrl::FullyEncoded);
    link.path = path.isEmpty() ? QStringLiteral("/") : withoutDotSegments(path);
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

bool linkPatternMatches(const QString& pattern, const QUrl& url) {
    const std::optional<Link> link = webLink(url);
    return link && matches(pattern, *link);
}

std::optional<qsizetype> firstMatchingRule(const QList<LinkRule>& rules, const QUrl& url) {
    const std::optional<Link> link = webLink(url);
    if (!link)
        return std::nullopt;
    for (qsizetype i = 0; i < rules.size(); ++i)
        if (matches(rules[i].pattern, *link))
            return i;
    return std::nullopt;
}

} // namespace Tolvane
