#include "SettingsWindow.h"

#include "AppDisplayName.h"
#include "SettingsView.h"

#include <QVBoxLayout>

namespace Tolvane {

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent), view_(new SettingsView(this)) {
    setWindowTitle(tr("%1 Settings").arg(appDisplayName()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    // The window takes what its content needs.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

} // namespace Tolvane
