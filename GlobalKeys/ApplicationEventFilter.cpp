// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationEventFilter.h"

#include <QCoreApplication>
#include <QInputEvent>
#include <QMouseEvent>
#include <QWidget>

namespace GlobalKeys {

int eventTypeNumber(const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyDownEvent;
    case QEvent::KeyRelease:
        return keyUpEvent;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto button = static_cast<const QMouseEvent*>(event)->button();
        const bool press = event->type() == QEvent::MouseButtonPress;
        if (button == Qt::LeftButton)
            return press ? leftMouseDownEvent : leftMouseUpEvent;
        if (button == Qt::RightButton)
            return press ? rightMouseDownEvent : rightMouseUpEvent;
        return -1;
    }
    default:
        return -1;
    }
}

ApplicationEventFilter::ApplicationEventFilter(EventMask events, Callback callback)
    : events_(events), callback_(std::move(callback)) {}

ApplicationEventFilter::~ApplicationEventFilter() {
    *destroyed_ = true;
    stop();
}
void ApplicationEventFilter::start() {
    if (active_ || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    active_ = true;
}

void ApplicationEventFilter::stop() {
    if (!active_)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    active_ = false;
}

bool ApplicationEventFilter::isBeingDelivered(const QObject* watched, const QEvent* event) const {
    for (const Delivery& delivery : deliveries_) {
        if (delivery.event == event)
            return true;
        if (delivery.type == event->type() && delivery.target &&
            static_cast<const QWidget*>(watched)->isAncestorOf(delivery.target))
            return true;
    }
    return false;
}

bool ApplicationEventFilter::eventFilter(QObject* watched, QEvent* event) {
    const int type = eventTypeNumber(event);
    if (type < 0 || type >= 64 || !(events_ & eventMaskBit(type)))
        return false;
    // Qt hands an input event to the window first and then to its widget; the widget is where the
    // application sees it, so that is where it is filtered (once).
    if (!watched->isWidgetType() || isBeingDelivered(watched, event))
        return false;

    // The callback may run an event loop (a modal alert) in which this filter is destroyed.
    const std::shared_ptr<bool> destroyed = destroyed_;
    const QPointer<QWidget> target(static_cast<QWidget*>(watched));
    QEvent* result = callback_(event);
    if (!result)
        return true;
    if (*destroyed) {
        // Nothing of this filter is left to recognise the event on its way: let Qt go on as usual.
        if (result == event)
            return false;
        if (target)
            QCoreApplication::sendEvent(target, result);
        delete result;
        return true;
    }
    if (target)
        deliver(target, result, result == event);
    if (result != event)
        delete result;
    // Delivered above, parents included; Qt must not pass it on a second time.
    event->accept();
    return true;
}

void ApplicationEventFilter::deliver(QWidget* target, QEvent* event, bool asItCame) {
    const std::shared_ptr<bool> destroyed = destroyed_;
    deliveries_.push_back({event, event->type(), target});
    // notify() keeps the event as the platform made it (spontaneous), as widgets expect of input;
    // a replacement is the application's own event.
    if (asItCame)
        QCoreApplication::instance()->notify(target, event);
    else
        QCoreApplication::sendEvent(target, event);
    // The delivery may end recording and with it this filter.
    if (!*destroyed)
        deliveries_.pop_back();
}

} // namespace GlobalKeys
