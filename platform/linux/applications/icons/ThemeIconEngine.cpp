// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThemeIconEngine.h"

#include "SvgIcon.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QStyle>

namespace platform::linux_ {

ThemeIconEngine::ThemeIconEngine(QString iconName) : name_(std::move(iconName)) {}

namespace {

// The theme's generic program icon; without an icon theme, the widget style's own.
QIcon genericIcon() {
    QIcon icon = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    if (icon.isNull())
        if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
            icon = app->style()->standardIcon(QStyle::SP_DesktopIcon);
    return icon;
}

} // namespace

QIcon ThemeIconEngine::resolve(const QString& iconName) {
    const QIcon generic = genericIcon();
    if (iconName.isEmpty())
        return generic;
    if (iconName.startsWith('/')) {
        // Only a readable image; an entry may point anywhere.
        return QFileInfo(iconName).isFile() && QImageReader(iconName).canRead() ? QIcon(iconName) : generic;
    }
    return QIcon::fromTheme(iconName, generic);
}

QIcon& ThemeIconEngine::resolved() {
    QMutexLocker lock(&mutex_);
    if (!done_) {
        icon_ = resolve(name_);
        if (!icon_.isNull() && icon_.name() == name_)
            svgFile_ = SvgIcon::themeFile(name_);
        else if (name_.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive) && QFileInfo(name_).isFile())
            svgFile_ = name_;
        done_ = true;
    }
    return icon_;
}

QIcon& ThemeIconEngine::drawn(const QSize& size) {
    QIcon& icon = resolved();
    if (svgFile_.isEmpty() || size.isEmpty())
        return icon;
    QMutexLocker lock(&mutex_);
    if (!svgSizes_.availableSizes().contains(size)) {
        const QImage image = SvgIcon::render(svgFile_, size);
        // Without librsvg's loader, Qt's own drawing is better than none.
        if (image.isNull())
            return icon;
        svgSizes_.addPixmap(QPixmap::fromImage(image));
    }
    return svgSizes_;
}

void ThemeIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    drawn(rect.size() * scale).paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap ThemeIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return drawn(size).pixmap(size, mode, state);
}

QPixmap ThemeIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) {
    QPixmap pixmap = drawn(size * scale).pixmap(size * scale, mode, state);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QSize ThemeIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    // A drawing fills any size asked for.
    if (resolved(), !svgFile_.isEmpty())
        return size;
    return resolved().actualSize(size, mode, state);
}

QList<QSize> ThemeIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return resolved().availableSizes(mode, state);
}

QIconEngine* ThemeIconEngine::clone() const {
    return new ThemeIconEngine(name_);
}

} // namespace platform::linux_
