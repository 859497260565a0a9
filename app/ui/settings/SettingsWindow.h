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

private:
    SettingsView* view_;
};

} // namespace Tolvane
