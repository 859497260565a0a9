// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

namespace Tolvane {

// Installs Tolvane's translations for `locale` (and Qt's own where the system has them), from
// the install tree beside the binary, else from the build tree. English has a translation too:
// it carries the texts that say how things work on this desktop. Calling again replaces them.
// Returns whether Tolvane's own translation was found.
bool installTranslations(const QLocale& locale = QLocale());

} // namespace Tolvane
