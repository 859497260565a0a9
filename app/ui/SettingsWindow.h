#pragma once

#include <QWidget>

namespace Tolvane {

// The settings window.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SettingsWindow(QWidget* parent = nullptr);
};

} // namespace Tolvane
