// SPDX-License-Identifier: GPL-3.0-or-later
// A link must mean for us what it means to the browser that loads it: every corpus link is read by
// WebLink and by Node's URL, an independent parser of the same rules, and both must agree.
#include "WebLink.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

struct Line {
    QString ours;    // as it reaches the router: a raw byte is a lone surrogate U+DC80..U+DCFF
    QString forNode; // the same link where Node can take it: a raw byte stays "%HH", as sent
};

// \\, \t, \n, \r, \uXXXX and \xHH (a raw byte), so any link fits on one line of the corpus.
Line unescape(const QString& text) {
    Line line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            line.ours += text[i];
            line.forNode += text[i];
            continue;
        }
        const QChar code = text[++i];
        if (code == u'x' || code == u'u') {
            const qsizetype digits = code == u'x' ? 2 : 4;
            bool ok = false;
            const char16_t value = char16_t(text.mid(i + 1, digits).toUShort(&ok, 16));
            EXPECT_TRUE(ok) << text.toStdString();
            i += digits;
            line.ours += QChar(code == u'x' ? char16_t(0xDC00 + value) : value);
            line.forNode +=
                code == u'x' ? QLatin1Char('%') + text.mid(i - 1, 2).toUpper() : QString(QChar(value));
            continue;
        }
        const QChar plain = code == u't' ? u'\t' : code == u'n' ? u'\n' : code == u'r' ? u'\r' : code;
        line.ours += plain;
        line.forNode += plain;
    }
    return line;
}

QList<Line> corpus() {
    QFile file(QStringLiteral(WEB_LINKS_CORPUS));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << WEB_LINKS_CORPUS;
    QList<Line> lines;
    for (const QString& text : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts))
        if (!text.startsWith(QLatin1String("# ")))
            lines << unescape(text);
    return lines;
}

// Node's reading of each link: its parts, or null where it refuses the link.
QJsonArray readByNode(const QList<Line>& lines) {
    QJsonArray links;
    for (const Line& line : lines)
        links << line.forNode;
    QProcess node;
    node.start(QStringLiteral("node"),
               {QStringLiteral("-e"),
                QStringLiteral("const links = JSON.parse(require('fs').readFileSync(0, 'utf8'));"
                               "process.stdout.write(JSON.stringify(links.map(text => {"
                               "  try {"
                               "    const u = new URL(text);"
                               "    return {scheme: u.protocol.slice(0, -1), host: u.hostname, port: u.port,"
                               "            path: u.pathname, href: u.href};"
                               "  } catch (e) { return null; }"
                               "})));")});
    node.write(QJsonDocument(links).toJson(QJsonDocument::Compact));
    node.closeWriteChannel();
    EXPECT_TRUE(node.waitForFinished(30000) && node.exitCode() == 0)
        << "node did not run: " << node.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(node.readAllStandardOutput()).array();
}

} // namespace

TEST(WebLink, ReadsEveryLinkAsTheBrowsersParserDoes) {
    const QList<Line> lines = corpus();
    ASSERT_GT(lines.size(), 100);
    const QJsonArray node = readByNode(lines);
    ASSERT_EQ(node.size(), lines.size());
    int loaded = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::string text =
            QJsonDocument(QJsonArray{lines[i].forNode}).toJson(QJsonDocument::Compact).toStdString();
        const QJsonObject theirs = node[i].toObject();
        const QString scheme = theirs.value(QLatin1String("scheme")).toString();
        const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
        const std::optional<WebLink> ours = WebLink::read(lines[i].ours);
        EXPECT_EQ(ours.has_value(), web) << text << (web ? " is refused" : " is read, Node refuses it");
        EXPECT_EQ(isWebLink(lines[i].ours), web) << text;
        if (!ours || !web)
            continue;
        ++loaded;
        const QString port = theirs.value(QLatin1String("port")).toString();
        EXPECT_EQ(ours->scheme.toStdString(), scheme.toStdString()) << text;
        EXPECT_EQ(ours->host.toStdString(), theirs.value(QLatin1String("host")).toString().toStdString())
            << text;
        static const QRegularExpression address(QStringLiteral("^(\\[.*\\]|\\d+\\.\\d+\\.\\d+\\.\\d+)$"));
        EXPECT_EQ(ours->hostIsIp, address.match(ours->host).hasMatch()) << text;
        EXPECT_EQ(ours->port, port.isEmpty() ? (scheme == QLatin1String("http") ? 80 : 443) : port.toInt())
            << text;
        EXPECT_EQ(ours->path.toStdString(), theirs.value(QLatin1String("path")).toString().toStdString())
            << text;
        EXPECT_EQ(ours->href.toStdString(), theirs.value(QLatin1String("href")).toString().toStdString())
            << text;
    }
    EXPECT_GT(loaded, 50) << "most of the corpus should be links a browser loads";
}
