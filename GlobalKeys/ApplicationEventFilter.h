// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/EventMask.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

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
    // An event this filter has let through and is delivering itself. While it is on its way, Qt
    // hands it (keys) or a copy of it (clicks) to each parent of the target in turn: not new events.
    struct Delivery {
        const QEvent* event;
        QEvent::Type type;
        QPointer<QWidget> target;
    };
    bool isBeingDelivered(const QObject* watched, const QEvent* event) const;
    void deliver(QWidget* target, QEvent* event, bool asItCame);

    EventMask events_;
    Callback callback_;
    bool active_ = false;
    std::vector<Delivery> deliveries_;
    // Set when the filter is destroyed from inside a delivery it is making.
    std::shared_ptr<bool> destroyed_ = std::make_shared<bool>(false);
};

} // namespace GlobalKeys
