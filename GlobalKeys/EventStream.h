// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/Key.h"

#include <QObject>
#include <QUuid>

#include <deque>
#include <memory>
#include <optional>

namespace GlobalKeys {

// An unbounded stream of hot-key events for one name. eventAvailable() is emitted for each event;
// next() takes them in order. Destroying the stream ends it.
class EventStream : public QObject {
    Q_OBJECT
public:
    struct Buffer {
        std::deque<EventType> events;
        std::optional<EventType> only;
        EventStream* owner = nullptr;
        void yield(EventType type);
    };

    EventStream(QUuid id, std::shared_ptr<Buffer> buffer, std::function<void()> onEnd);
    ~EventStream() override;

    QUuid id() const { return id_; }
    std::optional<EventType> next();

signals:
    void eventAvailable();

private:
    QUuid id_;
    std::shared_ptr<Buffer> buffer_;
    std::function<void()> onEnd_;
};

} // namespace GlobalKeys
