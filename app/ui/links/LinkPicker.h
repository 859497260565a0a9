// SPDX-License-Identifier: GPL-3.0-or-later
// The window that asks which browser opens a link: the link, the browsers and profiles with number
// keys, the default one ready for Enter, and a box to remember the choice for the site.
#pragma once

#include "PickerChoices.h"

#include <QStringList>
#include <QWidget>

#include <optional>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QListWidget;

namespace Tolvane {

class LinkPicker : public QWidget {
    Q_OBJECT
public:
    // `site` is what "Always open … here" would remember; none hides the box.
    LinkPicker(const QStringList& urls, const PickerChoices& choices, std::optional<QString> site,
               QWidget* parent = nullptr);

    // How many more requests wait behind this one.
    void setWaiting(qsizetype count);
    // Says why the last pick did not open; the window stays for another pick.
    void showFailure(const QString& text);
    // The request is answered: the window closes without saying dropped().
    void finish();

signals:
    // `index` into the choices' browsers; `always` when the site is to be remembered for it.
    void picked(qsizetype index, bool always);
    // Escape or the window closed: the links open nowhere.
    void dropped();
    // First drawn on screen.
    void drawn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The picker's own keys; false for any other.
    bool answerKey(const QKeyEvent& key);
    void pick(qsizetype index);
    void elideLink();

    QString link_;
    QLabel* linkLabel_;
    QLabel* moreLabel_;
    QListWidget* list_;
    QCheckBox* always_;
    QLabel* failure_;
    QLabel* waiting_;
    bool answered_ = false;
    bool drawn_ = false;
};

} // namespace Tolvane
