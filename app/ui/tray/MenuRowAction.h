// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QWidgetAction>

namespace Tolvane {

// A menu row that draws the browser's version in the caption font. The action's own text is the
// plain form, which hosts that draw exported menus themselves show instead.
class MenuRowAction : public QWidgetAction {
    Q_OBJECT
public:
    MenuRowAction(const DefaultBrowser& browser, QObject* parent);

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    DefaultBrowser browser_;
};

} // namespace Tolvane
