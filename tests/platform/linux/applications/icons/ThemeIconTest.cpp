// SPDX-License-Identifier: GPL-3.0-or-later
// Browser icons from the icon theme, drawn the way the desktop draws them.
#include "platform/linux/applications/icons/ThemeIconEngine.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::linux_::ThemeIconEngine;

namespace {

void write(const QString& path, const QByteArray& content) {
    QDir().mkpath(path.section('/', 0, -2));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A round icon whose shading goes through a mask with a filter, as the desktops' application icons do.
const QByteArray maskedIcon =
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" viewBox="0 0 128 128">
  <filter id="white" x="0%" y="0%" width="100%" height="100%">
    <feColorMatrix in="SourceGraphic" type="matrix" values="0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 0 0 0 1 0"/>
  </filter>
  <mask id="half"><g filter="url(#white)"><rect fill-opacity="0.5" width="128" height="128"/></g></mask>
  <circle cx="64" cy="64" r="48" fill="#2166bb"/>
  <g mask="url(#half)"><circle cx="64" cy="64" r="30" fill="#89eda9"/></g>
</svg>
)svg";

} // namespace

TEST(ThemeIconTest, IconOnlyInSvgDrawsNothingOutsideItsShapeAtEachSize) {
    QTemporaryDir themes;
    write(themes.path() + "/hicolor/index.theme",
          "[Icon Theme]\nName=Hicolor\nDirectories=scalable/apps\n\n"
          "[scalable/apps]\nSize=128\nMinSize=8\nMaxSize=512\nType=Scalable\n");
    write(themes.path() + "/hicolor/scalable/apps/test-web.svg", maskedIcon);
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName("hicolor");

    QIcon icon(new ThemeIconEngine("test-web"));
    for (int size : {16, 24, 48}) {
        const QImage drawn = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(drawn.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(drawn.pixel(0, 0)), 0) << size << " px: the corner stays clear";
        EXPECT_EQ(qAlpha(drawn.pixel(size / 2, size / 2)), 255) << size;
        // The shading shows at half strength over the blue.
        EXPECT_GT(qGreen(drawn.pixel(size / 2, size / 2)), qGreen(QColor("#2166bb").rgb()) + 20) << size;
    }
    // Painted straight into a view, as menus and lists draw icons.
    QImage view(20, 20, QImage::Format_ARGB32_Premultiplied);
    view.fill(Qt::transparent);
    {
        QPainter painter(&view);
        icon.paint(&painter, QRect(2, 2, 16, 16));
    }
    EXPECT_EQ(qAlpha(view.pixel(3, 3)), 0);
    EXPECT_EQ(qAlpha(view.pixel(10, 10)), 255);

    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(themeName);
}
