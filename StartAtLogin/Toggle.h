// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QCheckBox;

namespace StartAtLogin {

class Observable;

// An on/off switch for launching at login. It shows what the login-item service says, read again
// after every change and whenever it is shown, so a failed change flips back by itself.
class Toggle : public QWidget {
    Q_OBJECT
public:
    // A title looked up in the caller's translations.
    struct TitleKey {
        const char* context;
        const char* sourceText;
    };

    // Labelled "Launch at login" whatever the user's language.
    explicit Toggle(QWidget* parent = nullptr, Observable* startAtLogin = nullptr);
    // Labelled with `title` as given.
    explicit Toggle(const QString& title, QWidget* parent = nullptr, Observable* startAtLogin = nullptr);
    // Labelled with the translation of `title`.
    explicit Toggle(TitleKey title, QWidget* parent = nullptr, Observable* startAtLogin = nullptr);
    // Labelled with the widget `label` makes, placed beside the switch.
    explicit Toggle(const std::function<QWidget*()>& label, QWidget* parent = nullptr,
                    Observable* startAtLogin = nullptr);

    Observable* startAtLogin() const { return startAtLogin_; }
    QCheckBox* control() const { return switch_; }
    bool isOn() const;
    // The text label; empty when the label is a widget of the caller's.
    QString title() const;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setUp(Observable* startAtLogin);
    void userSwitched(bool on);
    void scheduleRefresh();
    void refresh();

    Observable* startAtLogin_ = nullptr;
    QCheckBox* switch_ = nullptr;
    bool refreshQueued_ = false;
};

} // namespace StartAtLogin
