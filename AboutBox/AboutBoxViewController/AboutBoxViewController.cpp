// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBoxViewController.h"

namespace AboutBox {

AboutBoxViewController::AboutBoxViewController(AppMetadata metadata, QObject* parent)
    : QObject(parent), metadata_(std::move(metadata)), view_(new AboutBoxView(metadata_)) {}

AboutBoxViewController::~AboutBoxViewController() {
    // A view never placed in a window is still ours.
    if (view_ && !view_->parent())
        delete view_;
}

} // namespace AboutBox
