// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Icons that exist only as SVG. Qt's SVG renderer (6.4) skips masks and filters, which desktop
// application icons use: it paints a mask's content, a square, over the icon. These are drawn with
// librsvg instead, the renderer GTK desktops draw the same icons with.
namespace platform::linux_::SvgIcon {

// The SVG file the icon theme holds for `iconName` when it holds no raster image of it (the
// current theme, the themes it inherits, hicolor, then the unthemed folders); empty otherwise.
QString themeFile(const QString& iconName);

// `file` drawn into `size`, keeping its aspect ratio; null when it cannot be drawn.
QImage render(const QString& file, const QSize& size);

} // namespace platform::linux_::SvgIcon
