// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShownText.h"

#include <QTextLayout>

namespace Tolvane {
namespace {

bool mustShowAsEscape(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        // Fillers that draw as nothing, though Unicode files them as letters.
        return c == 0x115F || c == 0x1160 || c == 0x3164 || c == 0xFFA0;
    }
}

} // namespace

QString shownText(QStringView text) {
    QString shown;
    shown.reserve(text.size());
    for (const uint code : text.toUcs4()) {
        const char32_t c = code;
        if (mustShowAsEscape(c))
            shown += QLatin1String("\\u{") +
                     QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0')) +
                     QLatin1Char('}');
        else
            shown += QString::fromUcs4(&c, 1);
    }
    return shown;
}

QString wrappedAnywhere(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Left to right whatever letters the text holds: the line reads in the order it was typed.
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(width, 1));
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

} // namespace Tolvane
