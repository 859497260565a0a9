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

bool ApplicationEventFilter::eventFilter(QObject* watched, QEvent* event) {
    const int type = eventTypeNumber(event);
    if (event == replacement_ || type < 0 || type >= 64 || !(events_ & eventMaskBit(type)))
        return false;
    // Qt hands an input event to the window first and then to its widget; the widget is where the
    // application sees it, so that is where it is filtered (once).
    if (!watched->isWidgetType())
        return false;
    // The same event offered to a parent of the widget that just declined it: already seen and let through.
    if (event == lastEvent_ && event->type() == lastType_ && lastReceiver_ && lastReceiver_->isWidgetType() &&
        watched != lastReceiver_ &&
        static_cast<QWidget*>(watched)->isAncestorOf(static_cast<QWidget*>(lastReceiver_.data())))
        return false;
    lastEvent_ = event;
    lastType_ = event->type();
    lastReceiver_ = watched;

    // The callback may run an event loop (a modal alert) in which this filter is destroyed.
    const QPointer<ApplicationEventFilter> alive(this);
    const QPointer<QObject> target(watched);
    QEvent* result = callback_(event);
    if (result == event)
        return false;
    if (!alive) {
        if (result && target)
            QCoreApplication::sendEvent(target, result);
        delete result;
        return true;
    }
    lastEvent_ = nullptr;
    if (result) {
        replacement_ = result;
        if (target)
            QCoreApplication::sendEvent(target, result);
        if (alive)
            replacement_ = nullptr;
        delete result;
    }
    return true;
}

} // namespace GlobalKeys
