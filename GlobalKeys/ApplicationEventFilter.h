#pragma once

#include "GlobalKeys/EventMask.h"

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <functional>

namespace GlobalKeys {

// Sees the application's events before any widget does. The callback returns the event to deliver,
// nullptr to swallow it, or another event, which is delivered in its place and then deleted.
class ApplicationEventFilter : public QObject {
public:
    using Callback = std::function<QEvent*(QEvent*)>;

    ApplicationEventFilter(EventMask events, Callback callback);
    ~ApplicationEventFilter() override;

    void start();
    void stop();
    bool isActive() const { return active_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EventMask events_;
    Callback callback_;
    bool active_ = false;
    // Qt offers a key event to every parent in turn; the callback must see it once.
    const QEvent* lastEvent_ = nullptr;
    QEvent::Type lastType_ = QEvent::None;
    QPointer<QObject> lastReceiver_;
    const QEvent* replacement_ = nullptr; // delivered as it is, not seen again
};

} // namespace GlobalKeys
