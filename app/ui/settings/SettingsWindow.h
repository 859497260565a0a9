// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace Tolvane {

class SettingsView;

// The settings window: one SettingsView.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SettingsWindow(QWidget* parent = nullptr);

    SettingsView* view() const { return view_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit(bool growOnly);
    SettingsView* view_;
};

} // namespace Tolvane
