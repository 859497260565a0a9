// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AboutBox/AppMetadata.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace AboutBox {

// Icon, name, the version line that switches form on each click, the optional link, the copyright.
class AboutBoxView : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumWidth = 350;
    static constexpr int idealWidth = 350;
    static constexpr int maximumWidth = 450;
    static constexpr int minimumHeight = 200;
    static constexpr int idealHeight = 220;
    static constexpr int maximumHeight = 500;

    explicit AboutBoxView(AppMetadata metadata, QWidget* parent = nullptr);

    const AppMetadata& metadata() const { return metadata_; }
    // True while the version line shows the long form.
    bool displaysAltText() const { return displayAltText_; }

    QSize sizeHint() const override;

private:
    void toggleVersionText();
    void openLink();

    const AppMetadata metadata_;
    bool displayAltText_ = false;
    QPushButton* versionButton_ = nullptr;
};

} // namespace AboutBox
