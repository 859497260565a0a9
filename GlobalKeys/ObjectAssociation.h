// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <map>
#include <optional>

namespace GlobalKeys {

enum class AssociationPolicy : unsigned {
    assign = 0,
    retainNonatomic = 1,
    copyNonatomic = 3,
    retain = 0x301,
    copy = 0x303,
};

// One value slot per object, keyed by this instance; the value goes when the object is destroyed.
// Values are held by copy whatever the policy (Qt values have no retain/assign distinction).
template <class T> class ObjectAssociation {
public:
    explicit ObjectAssociation(AssociationPolicy policy = AssociationPolicy::retainNonatomic)
        : policy(policy) {}
    ObjectAssociation(const ObjectAssociation&) = delete;
    ObjectAssociation& operator=(const ObjectAssociation&) = delete;
    ~ObjectAssociation() {
        for (auto& [object, slot] : slots_)
            QObject::disconnect(slot.cleanup);
    }

    AssociationPolicy policy;

    std::optional<T> get(const QObject* object) const {
        const auto it = slots_.find(object);
        return it == slots_.end() ? std::nullopt : std::optional<T>(it->second.value);
    }

    void set(QObject* object, std::optional<T> value) {
        auto it = slots_.find(object);
        if (!value) {
            if (it != slots_.end()) {
                QObject::disconnect(it->second.cleanup);
                slots_.erase(it);
            }
            return;
        }
        if (it != slots_.end()) {
            it->second.value = std::move(*value);
            return;
        }
        const auto cleanup =
            QObject::connect(object, &QObject::destroyed, [this, object] { slots_.erase(object); });
        slots_.emplace(object, Slot{std::move(*value), cleanup});
    }

private:
    struct Slot {
        T value;
        QMetaObject::Connection cleanup;
    };
    std::map<const QObject*, Slot> slots_;
};

} // namespace GlobalKeys
