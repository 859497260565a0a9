// SPDX-License-Identifier: GPL-3.0-or-later
// Link rules read as a user means them, and never as an attacker's URL would like them read.
#include "LinkRules.h"
#include "LinkRulesFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

struct Case {
    const char* pattern;
    const char* url;
    bool matches;
};

void expectMatches(std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(linkPatternMatches(QString::fromUtf8(c.pattern), QUrl(QString::fromUtf8(c.url))), c.matches)
            << "pattern " << c.pattern << " against " << c.url;
}

} // namespace

TEST(LinkRules, LookAlikeHostsAndUserinfoDoNotPassForTheSite) {
    expectMatches({
        {"example.com", "https://example.com/", true},
        {"example.com", "https://www.example.com/a", true},
        {"example.com", "http://a.b.example.com/", true},
        {"example.com", "https://badexample.com/", false},
        {"example.com", "https://example.com.evil.net/", false},
        {"example.com", "https://example.com@evil.net/", false},
        {"example.com", "https://example.com:pw@evil.net/", false},
        {"example.com", "https://evil.net/example.com", false},
        {"example.com", "https://evil.net/?to=example.com#example.com", false},
        {"example.com", "https://evil.net@example.com/", true},
        // A host glob stays in the host: its `*` cannot reach into the path.
        {"*.corp.example/wiki/*", "https://corp.example.evil/wiki/x", false},
        {"*.corp.example/wiki/*", "https://evil.net/x.corp.example/wiki/y", false},
        {"*.corp.example/wiki/*", "https://a.corp.example@evil.net/wiki/x", false},
        {"*example.com/*", "https://evil.net/example.com/", false},
    });
}

TEST(LinkRules, HostsIgnoreCaseAndOneTrailingDot) {
    expectMatches({
        {"example.com", "https://EXAMPLE.COM./", true},
        {"example.com", "https://WWW.Example.Com/", true},
        {"Example.COM.", "https://example.com/", true},
        {"Example.COM.", "https://a.example.com./", true},
        {"*.CORP.example/*", "https://A.corp.EXAMPLE./x", true},
        {"example.com", "https://example.com../", false},
    });
}

TEST(LinkRules, PortsCountTheDefaultOfTheScheme) {
    expectMatches({
        {"example.com", "https://example.com:8443/", true},
        {"localhost:8080", "http://localhost:8080/", true},
        {"localhost:8080", "http://localhost/", false},
        {"localhost:8080", "http://localhost:8081/", false},
        {"localhost:8080", "http://api.localhost:8080/", true},
        {"example.com:443", "https://example.com/", true},
        {"example.com:443", "https://example.com:443/", true},
        {"example.com:443", "http://example.com/", false},
        {"example.com:80", "http://example.com/", true},
        {"example.com:8080/*", "http://example.com:8080/x", true},
        {"example.com:8080/*", "http://example.com/x", false},
        {"example.com:80*/*", "http://example.com:8081/x", true},
        {"*.corp.example/*", "https://a.corp.example:8443/x", true},
    });
}

TEST(LinkRules, IpLiteralsMatchOnlyThemselves) {
    expectMatches({
        {"127.0.0.1", "http://127.0.0.1:3000/", true},
        {"127.0.0.1", "http://127.1/", true},
        {"127.0.0.1", "http://127.0.0.1.evil.net/", false},
        {"127.0.0.1", "http://127.0.0.2/", false},
        {"1.2.3.4", "http://5.1.2.3.4/", false},
        {"[::1]", "http://[::1]:8080/", true},
        {"[::1]", "http://[0:0::1]/", true},
        {"[::1]", "http://127.0.0.1/", false},
        {"[::1]:8080", "http://[::1]:8080/", true},
        {"[::1]:8080", "http://[::1]/", false},
        {"[FE80::1]", "http://[fe80::1]/", true},
        {"[::1]/admin/*", "http://[::1]:9000/admin/x", true},
        {"[fe80::*]/*", "http://[fe80::abcd]/", true},
    });
}

TEST(LinkRules, InternationalizedNamesMatchInEitherSpelling) {
    expectMatches({
        // `.example` comes back from QUrl in ACE, `.de` in Unicode: both ways must agree.
        {"bücher.example", "https://xn--bcher-kva.example/", true},
        {"bücher.example", "https://www.bücher.example/", true},
        {"xn--bcher-kva.example", "https://bücher.example/", true},
        {"bücher.de", "https://xn--bcher-kva.de/", true},
        {"xn--bcher-kva.de", "https://shop.bücher.de/", true},
        {"BÜCHER.de", "https://bücher.de/", true},
        {"*.bücher.de/*", "https://shop.xn--bcher-kva.de/x", true},
        {"bucher.de", "https://bücher.de/", false},
        {"bücher.de", "https://bucher.de/", false},
    });
}

TEST(LinkRules, GlobsAreAnchoredAndReadPathsAsSent) {
    const QString longPath = QString(5000, QLatin1Char('a'));
    const QString fiftyStars = QString("*a").repeated(50);
    EXPECT_TRUE(linkPatternMatches("example.com/" + fiftyStars, QUrl("https://example.com/" + longPath)));
    EXPECT_FALSE(
        linkPatternMatches("example.com/" + fiftyStars + "b", QUrl("https://example.com/" + longPath)))
        << "a matcher that backtracks would not return from this";

    expectMatches({
        {"*.corp.example/wiki/*", "https://a.corp.example/wiki/x", true},
        {"*.corp.example/wiki/*", "https://a.b.corp.example/wiki/x/y.html", true},
        {"*.corp.example/wiki/*", "https://corp.example/wiki/x", false},
        {"*.corp.example/wiki/*", "https://a.corp.example/wiki", false},
        {"*.corp.example/wiki/*", "https://a.corp.example/Wiki/x", false},
        {"*.corp.example/wiki/*", "https://a.corp.example/x/wiki/y", false},
        {"*.corp.example", "https://a.corp.example/any/path?q=1", true},
        {"example.com/docs/*", "https://www.example.com/docs/a", false},
        {"example.com/docs/*", "https://example.com/docs/", true},
        {"example.com/*", "https://example.com", true},
        {"example.com/a", "https://example.com/a?x=1#f", true},
        {"example.com/a", "https://example.com/a/b", false},
        {"example.com/*/edit", "https://example.com/a/b/edit", true},
        {"example.com/*a*a*", "https://example.com/a", false},
        {"example.com/*a*a*", "https://example.com/aa", true},
        {"example.com/wiki/Zürich*", "https://example.com/wiki/Z%C3%BCrich_Tour", true},
        {"example.com/wiki/z%c3%bcrich", "https://example.com/wiki/zürich", true},
        {"example.com/a%20b", "https://example.com/a b", true},
        {"example.com/a/b", "https://example.com/a%2Fb", false},
        // Dot segments as the browser resolves them before it asks.
        {"example.com/public/*", "https://example.com/public/../admin", false},
        {"example.com/admin", "https://example.com/public/%2e%2e/admin", true},
        {"example.com/a/", "https://example.com/a/b/./..", true},
        {"example.com//a//b", "https://example.com//a//b", true},
        {"web.archive.org/web/*/https://example.com/*",
         "https://web.archive.org/web/2020/https://example.com/x", true},
        {"*", "https://anything.example:1234/x", true},
    });
}

TEST(LinkRules, TheFirstMatchingRuleWinsAndOnlyWebLinksMatch) {
    const QList<LinkRule> rules = {
        {"https://example.com", "broken.desktop"}, // never matches, so never shadows what follows
        {"docs.example.com", "reader.desktop"},
        {"example.com", "work.desktop"},
        {"*", "ask"},
    };
    EXPECT_EQ(firstMatchingRule(rules, QUrl("https://docs.example.com/x")), 1);
    EXPECT_EQ(firstMatchingRule(rules, QUrl("https://www.example.com/")), 2);
    EXPECT_EQ(firstMatchingRule(rules, QUrl("https://example.com/")), 2);
    EXPECT_EQ(firstMatchingRule(rules, QUrl("HTTP://other.org/")), 3);
    EXPECT_EQ(firstMatchingRule({}, QUrl("https://example.com/")), std::nullopt);
    EXPECT_EQ(firstMatchingRule(rules.mid(1, 2), QUrl("https://other.org/")), std::nullopt);

    for (const char* url : {"mailto:me@example.com", "file:///example.com/x", "ftp://example.com/",
                            "ws://example.com/", "example.com", "https://", "", "https://exa mple.com/"})
        EXPECT_EQ(firstMatchingRule(rules, QUrl(url)), std::nullopt) << url;
}

TEST(LinkRules, PatternsThatCanNeverMatchSayWhyAndMatchNothing) {
    const QList<QString> broken = {
        "",
        "https://example.com",
        "*://example.com/*",
        "http*://example.com/*",
        "example .com",
        " example.com",
        "example..com",
        ".example.com",
        "*..example.com/*",
        "/wiki/*",
        "user@example.com",
        "*@example.com/*",
        "example.com?q=1",
        "example.com/a#top",
        "localhost:",
        "localhost:0",
        "localhost:99999",
        "localhost:80a",
        "::1",
        "[::1",
        "[::1]x",
        "bü*.example/*",
        "exa_mple!.com",
        "*.exa$mple/*",
    };
    const QList<QUrl> urls = {QUrl("https://example.com/"), QUrl("https://www.example.com/wiki/a"),
                              QUrl("http://localhost/"), QUrl("http://[::1]/"), QUrl("https://a.b/x")};
    for (const QString& pattern : broken) {
        const std::optional<QString> problem = linkPatternProblem(pattern);
        EXPECT_TRUE(problem.has_value() && !problem->isEmpty())
            << "no problem found in \"" << pattern.toStdString() << '"';
        for (const QUrl& url : urls)
            EXPECT_FALSE(linkPatternMatches(pattern, url))
                << pattern.toStdString() << " matched " << url.toString().toStdString();
    }

    for (const char* fine : {"example.com", "example.com.", "*", "*.corp.example/wiki/*", "localhost:8080",
                             "[::1]:8080", "bücher.example", "a_b.example",
                             "web.archive.org/web/*/https://example.com/*", "medium.com/@someone/*"})
        EXPECT_EQ(linkPatternProblem(QString::fromUtf8(fine)), std::nullopt) << fine;
}

TEST(LinkRulesFile, ARememberedSiteDecidesTheNextLinkAndEveryRuleReadsBackAsWritten) {
    QTemporaryDir home;
    const QString path = home.filePath("links.rules");
    QFile seed(path);
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
    seed.write("# mine\n*.example ask\nother.example b.desktop\n");
    seed.close();
    // "Always open here" from a link an `ask` rule sent to the picker: the next such link opens there.
    const QUrl link("https://docs.example/a");
    QString error;
    ASSERT_TRUE(Tolvane::LinkRulesFile::update(
        [&](Tolvane::LinkRulesFile& file) {
            file.insertBefore(link, {"docs.example", "a.desktop"});
            return true;
        },
        &error, path))
        << error.toStdString();
    Tolvane::LinkRulesFile after(path);
    ASSERT_TRUE(after.load());
    EXPECT_EQ(Tolvane::firstMatchingRule(after.rules(), link), 0);
    EXPECT_EQ(after.content(), "# mine\ndocs.example a.desktop\n*.example ask\nother.example b.desktop\n");
    // A desktop file ID may hold a space; what the reader would refuse is never written.
    EXPECT_TRUE(Tolvane::LinkRulesFile::update(
        [](Tolvane::LinkRulesFile& file) {
            file.append({"spaced.example", "My Browser.desktop"});
            return true;
        },
        &error, path));
    EXPECT_FALSE(Tolvane::LinkRulesFile::update(
        [](Tolvane::LinkRulesFile& file) {
            file.append({"broken.example", "two\nlines"});
            return true;
        },
        &error, path));
    ASSERT_TRUE(after.load()) << after.error().toStdString();
    EXPECT_EQ(after.rules().size(), 4);
    EXPECT_EQ(after.rules().at(3).target, "My Browser.desktop");
}
