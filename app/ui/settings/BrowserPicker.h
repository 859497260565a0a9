// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QComboBox>

namespace Tolvane {

// A pop-up of browsers, each tagged with its id: icon, name and, when asked, the version in the
// caption font (the menu rows' look). The item text is the same row as plain text.
class BrowserPicker : public QComboBox {
    Q_OBJECT
public:
    static constexpr int nameRole = Qt::UserRole + 1;
    static constexpr int versionRole = Qt::UserRole + 2; // empty while versions are hidden

    explicit BrowserPicker(QWidget* parent = nullptr);

    void setBrowsers(const QList<DefaultBrowser>& browsers, bool showVersion);
    bool showsVersion() const { return showVersion_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool showVersion_ = false;
};

} // namespace Tolvane
