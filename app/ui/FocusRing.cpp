// SPDX-License-Identifier: GPL-3.0-or-later
#include "FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace Tolvane {

namespace {
constexpr int ringWidth = 2;
constexpr int gap = 1;
} // namespace

FocusRing::FocusRing(QWidget* target, QWidget* host) : QWidget(host), target_(target) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    target->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &FocusRing::follow);
    connect(target, &QObject::destroyed, this, &QObject::deleteLater);
    follow();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            follow();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::follow() {
    if (!target_ || !parentWidget())
        return;
    const int margin = ringWidth + gap;
    const QRect area(target_->mapTo(parentWidget(), QPoint(0, 0)), target_->size());
    setGeometry(area.adjusted(-margin, -margin, margin, margin));
    const QWidget* focus = QApplication::focusWidget();
    const bool focused = target_->isVisible() && focus && (focus == target_ || target_->isAncestorOf(focus));
    setVisible(focused);
    if (focused)
        raise();
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(palette().color(QPalette::Active, QPalette::Highlight), ringWidth);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal half = ringWidth / 2.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), 4, 4);
}

} // namespace Tolvane
