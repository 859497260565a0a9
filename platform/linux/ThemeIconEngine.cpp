#include "ThemeIconEngine.h"

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
        done_ = true;
    }
    return icon_;
}

void ThemeIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    resolved().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap ThemeIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return resolved().pixmap(size, mode, state);
}

QPixmap ThemeIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) {
    return resolved().pixmap(size, scale, mode, state);
}

QSize ThemeIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return resolved().actualSize(size, mode, state);
}

QList<QSize> ThemeIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return resolved().availableSizes(mode, state);
}

QIconEngine* ThemeIconEngine::clone() const {
    return new ThemeIconEngine(name_);
}

} // namespace platform::linux_
