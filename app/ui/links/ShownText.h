// SPDX-License-Identifier: GPL-3.0-or-later
// A link on screen must read as the characters it holds: a hidden mark that reverses or hides text
// could make one site look like another.
#pragma once

#include <QFont>
#include <QString>
#include <QStringView>

namespace Tolvane {

// `text` with every character that changes direction, has no width, or controls the layout
// (format and control characters, line and paragraph separators) written as `\u{XXXX}`.
QString shownText(QStringView text);

// `text` broken into lines no wider than `width` pixels in `font`, anywhere a line must break, so
// a host without spaces wraps instead of widening its window or being cut.
QString wrappedAnywhere(const QString& text, const QFont& font, int width);

} // namespace Tolvane
