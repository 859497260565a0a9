// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimpleFeedbackConfig.h"

#include <QByteArray>
#include <QObject>

#include <functional>
#include <optional>

namespace Tellwick_Toolbox {

// The observable state of a feedback form. objectWillChange() fires before every change of a published
// field, so observers can still read the old value.
class SimpleFeedbackFormViewModel : public QObject {
    Q_OBJECT
public:
    SimpleFeedbackFormViewModel(QString appKey, SimpleFeedbackConfig config, QObject* parent = nullptr);

    const QString& appKey() const { return appKey_; }
    const SimpleFeedbackConfig& config() const { return config_; }
    std::function<void()> onFeedbackReported;

    const QString& content() const { return content_; }
    const QString& email() const { return email_; }
    const std::optional<QByteArray>& imageData() const { return imageData_; }
    const QString& emoji() const { return emoji_; }

    void setContent(const QString& content);
    void setEmail(const QString& email);
    void setImageData(const std::optional<QByteArray>& imageData);
    void setEmoji(const QString& emoji);

signals:
    void objectWillChange();

private:
    template <class T> void publish(T& field, const T& value);
    const QString appKey_;
    const SimpleFeedbackConfig config_;
    QString content_;
    QString email_;
    std::optional<QByteArray> imageData_;
    QString emoji_;
};

} // namespace Tellwick_Toolbox
