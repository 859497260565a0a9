// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QMutex>

namespace platform::linux_ {

// An icon named by a desktop entry (theme name or absolute file), looked up on first use.
// Building one touches neither the icon theme nor any file, so it can be made on any thread;
// the lookup happens when the icon is first painted, which Qt does on the GUI thread.
class ThemeIconEngine : public QIconEngine {
public:
    explicit ThemeIconEngine(QString iconName);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString iconName() override { return name_; }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("ThemeIconEngine"); }
    QIconEngine* clone() const override;

    // What the name resolves to: the theme icon, the file, or the generic application icon.
    static QIcon resolve(const QString& iconName);

private:
    QIcon& resolved();
    // What draws the icon at `size` (device pixels).
    QIcon& drawn(const QSize& size);
    QString name_;
    QMutex mutex_;
    bool done_ = false;
    QIcon icon_;
    // Set when the icon is an SVG that librsvg draws; its drawings so far, one per size.
    QString svgFile_;
    QIcon svgSizes_;
};

} // namespace platform::linux_
