// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/OnAsyncButtonTaskChangeModifier.h"

namespace TaskButtons {

OnAsyncButtonTaskChangeModifier::OnAsyncButtonTaskChangeModifier(QWidget* content, Handler handler)
    : QObject(content), handler_(std::move(handler)) {}

OnAsyncButtonTaskChangeModifier* OnAsyncButtonTaskChangeModifier::attach(QWidget* content, Handler handler) {
    return new OnAsyncButtonTaskChangeModifier(content, std::move(handler));
}

void OnAsyncButtonTaskChangeModifier::report(const std::optional<ButtonTask>& task) {
    if (!initialized_) {
        initialized_ = true;
        AsyncButtonTaskPreferenceKey::reduce(last_, task);
        if (task)
            handler_(task);
        return;
    }
    if (task == last_)
        return;
    AsyncButtonTaskPreferenceKey::reduce(last_, task);
    handler_(task);
}

QList<OnAsyncButtonTaskChangeModifier*> OnAsyncButtonTaskChangeModifier::around(const QWidget* from) {
    QList<OnAsyncButtonTaskChangeModifier*> found;
    for (const QWidget* w = from; w; w = w->parentWidget())
        found += w->findChildren<OnAsyncButtonTaskChangeModifier*>(Qt::FindDirectChildrenOnly);
    return found;
}

} // namespace TaskButtons
