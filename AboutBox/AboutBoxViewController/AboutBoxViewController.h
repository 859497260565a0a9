// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AboutBox/AboutBoxView.h"
#include "AboutBox/AppMetadata.h"

#include <QObject>
#include <QPointer>

namespace AboutBox {

// Hosts an AboutBoxView made from the metadata it keeps; the window that shows the view owns it.
class AboutBoxViewController : public QObject {
    Q_OBJECT
public:
    explicit AboutBoxViewController(AppMetadata metadata, QObject* parent = nullptr);
    ~AboutBoxViewController() override;

    const AppMetadata& metadata() const { return metadata_; }
    // The hosted view; null once its window has freed it.
    AboutBoxView* view() const { return view_; }

private:
    const AppMetadata metadata_;
    QPointer<AboutBoxView> view_;
};

} // namespace AboutBox
