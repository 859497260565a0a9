// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QMenu;

namespace Tolvane {

// Calls back once entries were added to or removed from a menu, after the burst settles (rows are
// replaced all at once, sometimes from a row's own click).
class MenuChanges : public QObject {
    Q_OBJECT
public:
    MenuChanges(QMenu* menu, std::function<void()> changed, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> changed_;
    bool queued_ = false;
};

} // namespace Tolvane
