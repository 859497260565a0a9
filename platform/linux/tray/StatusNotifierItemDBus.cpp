// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusNotifierItemDBus.h"

#include "StatusNotifierItem.h"
#include "StatusNotifierItemAdaptor.h"

#include <QImage>
#include <QtEndian>

namespace Tolvane {
namespace {

StatusNotifier::Pixmaps pixmapsOf(const QIcon& icon) {
    StatusNotifier::Pixmaps pixmaps;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull())
            continue;
        QByteArray pixels(image.width() * image.height() * 4, Qt::Uninitialized);
        auto* out = reinterpret_cast<quint32*>(pixels.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                *out++ = qToBigEndian(line[x]);
        }
        pixmaps << StatusNotifier::Pixmap{image.width(), image.height(), pixels};
    }
    return pixmaps;
}

} // namespace

StatusNotifierItemDBus::StatusNotifierItemDBus(StatusNotifierItem* item, const QString& menuPath)
    : QObject(item), item_(item), menuPath_(menuPath), pixmaps_(pixmapsOf(item->icon())) {
    StatusNotifier::registerTypes();
    new StatusNotifierItemAdaptor(this);
    connect(item, &StatusNotifierItem::toolTipChanged, this, &StatusNotifierItemDBus::NewToolTip);
}

QString StatusNotifierItemDBus::title() const {
    return item_->title();
}

StatusNotifier::ToolTip StatusNotifierItemDBus::toolTip() const {
    return {QString(), {}, item_->title(), item_->toolTipText()};
}

void StatusNotifierItemDBus::ContextMenu(int x, int y) {
    emit item_->menuRequested(QPoint(x, y));
}

void StatusNotifierItemDBus::Activate(int x, int y) {
    emit item_->menuRequested(QPoint(x, y));
}

void StatusNotifierItemDBus::ProvideXdgActivationToken(const QString& token) {
    emit item_->activationTokenProvided(token);
}

} // namespace Tolvane
