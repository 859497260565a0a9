// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

namespace Tolvane {

// A ring drawn around a control while it has the keyboard focus, for controls whose style shows no
// difference between focused and not (a default button looks focused all the time).
class FocusRing : public QWidget {
    Q_OBJECT
public:
    // Drawn in `host` (an ancestor with room around the target) while the focus is in `target` or
    // one of its children; goes with the target.
    FocusRing(QWidget* target, QWidget* host);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow();

    QPointer<QWidget> target_;
};

} // namespace Tolvane
