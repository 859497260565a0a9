// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/ButtonLabel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QStyle>

namespace TaskButtons {

QString LocalizedStringKey::localized() const {
    return QCoreApplication::translate(context.constData(), key.constData());
}

ButtonLabel::ButtonLabel(LocalizedStringKey titleKey)
    : builder_([titleKey] { return new TitleLabel(titleKey, {}, std::nullopt); }) {}

ButtonLabel::ButtonLabel(LocalizedStringKey titleKey, SystemImage image)
    : builder_([titleKey, image] { return new TitleLabel(titleKey, {}, image); }) {}

ButtonLabel::ButtonLabel(QString title)
    : builder_([title] { return new TitleLabel(std::nullopt, title, std::nullopt); }) {}

ButtonLabel::ButtonLabel(QString title, SystemImage image)
    : builder_([title, image] { return new TitleLabel(std::nullopt, title, image); }) {}

TitleLabel::TitleLabel(std::optional<LocalizedStringKey> key, QString title, std::optional<SystemImage> image,
                       QWidget* parent)
    : QWidget(parent), key_(std::move(key)), text_(new QLabel) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (image) {
        auto* icon = new QLabel;
        const int side = style()->pixelMetric(QStyle::PM_ButtonIconSize, nullptr, this);
        icon->setPixmap(QIcon::fromTheme(image->name).pixmap(side, side));
        layout->addWidget(icon, 0, Qt::AlignVCenter);
    }
    text_->setText(key_ ? key_->localized() : title);
    text_->setForegroundRole(QPalette::ButtonText);
    layout->addWidget(text_, 0, Qt::AlignVCenter);
}

QString TitleLabel::text() const {
    return text_->text();
}

void TitleLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && key_)
        text_->setText(key_->localized());
    QWidget::changeEvent(event);
}

} // namespace TaskButtons
