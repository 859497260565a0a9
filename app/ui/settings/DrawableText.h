// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

namespace Tolvane {

// `text` as the fonts of this system can draw it in `font`: a symbol that no installed font has (an
// emoji where no emoji font is installed) is left out together with the space after it, instead of
// showing as an empty box. Every other character is kept.
QString drawableText(const QString& text, const QFont& font);

} // namespace Tolvane
