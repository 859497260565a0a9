// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/ButtonBase.h"

#include "TaskButtons/Environment.h"
#include "TaskButtons/PlatformButton.h"
#include "TaskButtons/TriggerButton.h"

#include <QHideEvent>
#include <QPointer>
#include <QShortcut>
#include <QShowEvent>
#include <QVBoxLayout>

namespace TaskButtons {

ButtonBase::ButtonBase(ButtonLabel label, ButtonOptions options, QWidget* parent)
    : QWidget(parent), state_(new ButtonState(this)), label_(std::move(label)), role_(options.role),
      id_(std::move(options.id)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(state_, &ButtonState::errorCountChanged, this, &ButtonBase::errorCountChanged);
}

ButtonBase::~ButtonBase() {
    unregister();
}

void ButtonBase::buildIfNeeded() {
    if (built_ && !stylesChanged())
        return;
    built_ = true;
    takeStyles();
    delete top_;
    button_ = new PlatformButton(styleLabel(label_.makeView()));
    if (role_)
        button_->setProperty("role", *role_ == ButtonRole::destructive ? "destructive" : "cancel");
    button_->setDefault(isDefault_);
    connect(button_, &QPushButton::clicked, this, [this] { start(); });
    top_ = styleButton(button_);
    layout()->addWidget(top_);
    refresh();
}

void ButtonBase::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Styles come from wherever the button now sits.
    buildIfNeeded();
    if (id_ && !(event->spontaneous() && registry_)) {
        unregister();
        registry_ = triggerButton(this);
        registry_->registerButton(
            *id_,
            [self = QPointer<ButtonBase>(this)] {
                if (self)
                    self->start();
            },
            this);
    }
    refresh();
}

void ButtonBase::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A minimised window still holds its buttons; only a real hide takes them off screen.
    if (!event->spontaneous())
        unregister();
}

void ButtonBase::unregister() {
    if (registry_ && id_)
        registry_->removeButton(*id_, this);
    registry_.reset();
}

void ButtonBase::addKeyboardShortcut(const QKeySequence& sequence) {
    auto* shortcut = new QShortcut(sequence, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { start(); });
}

void ButtonBase::setDefaultAction() {
    isDefault_ = true;
    if (button_)
        button_->setDefault(true);
    addKeyboardShortcut(QKeySequence(Qt::Key_Return));
    addKeyboardShortcut(QKeySequence(Qt::Key_Enter));
}

} // namespace TaskButtons
