// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimpleFeedbackFormViewModel.h"

namespace Tellwick_Toolbox {

SimpleFeedbackFormViewModel::SimpleFeedbackFormViewModel(QString appKey, SimpleFeedbackConfig config,
                                                         QObject* parent)
    : QObject(parent), appKey_(std::move(appKey)), config_(std::move(config)) {}

template <class T> void SimpleFeedbackFormViewModel::publish(T& field, const T& value) {
    emit objectWillChange();
    field = value;
}

void SimpleFeedbackFormViewModel::setContent(const QString& content) {
    publish(content_, content);
}
void SimpleFeedbackFormViewModel::setEmail(const QString& email) {
    publish(email_, email);
}
void SimpleFeedbackFormViewModel::setImageData(const std::optional<QByteArray>& imageData) {
    publish(imageData_, imageData);
}
void SimpleFeedbackFormViewModel::setEmoji(const QString& emoji) {
    publish(emoji_, emoji);
}

} // namespace Tellwick_Toolbox
