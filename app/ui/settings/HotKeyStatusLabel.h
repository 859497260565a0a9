// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/Name.h"

#include <QLabel>

#include <memory>

namespace platform {
class HotKeyStatus;
}

namespace Tolvane {

// One line under a shortcut recorder with what the desktop makes of global shortcuts: that it cannot
// deliver them at all, that it did not take this one, or the key it assigned instead of the recorded
// one. Hidden when none applies.
class HotKeyStatusLabel : public QLabel {
    Q_OBJECT
public:
    explicit HotKeyStatusLabel(GlobalKeys::Name name, QWidget* parent = nullptr);
    ~HotKeyStatusLabel() override;

private:
    void refresh();

    GlobalKeys::Name name_;
    std::shared_ptr<platform::HotKeyStatus> port_;
    int observer_ = 0;
};

} // namespace Tolvane
