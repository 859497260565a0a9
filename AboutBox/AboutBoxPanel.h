// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AboutBox/AboutBoxViewController/AboutBoxViewController.h"
#include "AboutBox/AppMetadata.h"

#include <QWidget>

class QScreen;

namespace AboutBox {

// A floating tool window showing one About view. Titled, closable and resizable, never minimised;
// it frees itself when closed, so every About command makes a new one.
class AboutBoxPanel : public QWidget {
    Q_OBJECT
public:
    explicit AboutBoxPanel(AppMetadata metadata, QWidget* parent = nullptr);

    AboutBoxViewController* aboutViewController() const { return aboutViewController_; }

    // Puts the top-left corner at the middle of the screen's top edge; without a screen the
    // panel is centred on the desktop instead.
    void placeOn(const QScreen* screen);
    // Where a frame of `frameSize` goes on a screen with these geometries.
    static QPoint topLeftOn(const QRect& screenGeometry, const QRect& availableGeometry,
                            const QSize& frameSize);

    QSize sizeHint() const override;

protected:
    // Escape closes the panel, as it closes a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    AboutBoxViewController* const aboutViewController_;
};

} // namespace AboutBox
