#include "SettingsWindow.h"

#include "AppDisplayName.h"

namespace Tolvane {

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(tr("%1 Settings").arg(appDisplayName()));
}

} // namespace Tolvane
