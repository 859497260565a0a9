// SPDX-License-Identifier: GPL-3.0-or-later
#include "DrawableText.h"

#include <QGlyphRun>
#include <QTextBoundaryFinder>
#include <QTextLayout>

namespace Tolvane {

namespace {

bool isSymbol(const QString& grapheme) {
    const char32_t first = grapheme.at(0).isHighSurrogate() && grapheme.size() > 1
                               ? QChar::surrogateToUcs4(grapheme.at(0), grapheme.at(1))
                               : grapheme.at(0).unicode();
    return QChar::category(first) == QChar::Symbol_Other;
}

// Laid out through Qt's font fallback, as a label would: a glyph index of 0 is the empty box.
bool canDraw(const QString& grapheme, const QFont& font) {
    QTextLayout layout(grapheme, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.isEmpty())
        return false;
    for (const QGlyphRun& run : runs)
        for (const quint32 glyph : run.glyphIndexes())
            if (glyph == 0)
                return false;
    return true;
}

} // namespace

QString drawableText(const QString& text, const QFont& font) {
    QString result;
    result.reserve(text.size());
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    bool dropSpace = false;
    while (graphemes.toNextBoundary() != -1) {
        const qsizetype end = graphemes.position();
        const QString grapheme = text.mid(start, end - start);
        start = end;
        if (dropSpace && grapheme == QLatin1String(" ")) {
            dropSpace = false;
            continue;
        }
        dropSpace = false;
        if (isSymbol(grapheme) && !canDraw(grapheme, font)) {
            dropSpace = true;
            continue;
        }
        result += grapheme;
    }
    return result;
}

} // namespace Tolvane
