// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowScene.h"

#include "WindowIdentity.h"

namespace Tolvane {

QWidget* WindowScene::open() {
    if (!window_) {
        describeWindowsAsFrames();
        window_ = make_();
        window_->setObjectName(identifier_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return window_;
}

} // namespace Tolvane
