// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

class QScrollArea;
class QWidget;

namespace Tolvane {

// Windows take what their content needs, but never more than the screen they open on has free (a
// large scale on a small screen): there the content scrolls instead of reaching off screen.

// The room a window may take on its screen: the area free of panels, less its frame.
QSize availableRoom(const QWidget* window);
// A frameless scroll area around `content` that shows it whole while there is room.
QScrollArea* scrollingWhenCramped(QWidget* content);
// Resizes `window` to `wanted`, or as much of it as the room allows; a dimension that had to shrink
// leaves room for the scroll bar that then appears across it.
void fitOnScreen(QWidget* window, QSize wanted);

} // namespace Tolvane
