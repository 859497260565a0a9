// SPDX-License-Identifier: GPL-3.0-or-later
// The window that asks which browser opens a link: the link and the site it really goes to, the
// browsers and profiles with number keys, the default one ready for Enter, and a box to remember
// the choice for the site. It fits the screen whatever the link holds.
#pragma once

#include "PickerChoices.h"

#include <QStringList>
#include <QWidget>

#include <optional>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class QScrollArea;

namespace Tolvane {

class LinkPicker : public QWidget {
    Q_OBJECT
public:
    // `site` is what "Always open … here" would remember; none hides the box.
    LinkPicker(const QStringList& urls, const PickerChoices& choices, std::optional<QString> site,
               QWidget* parent = nullptr);

    // How many more links wait behind these.
    void setWaiting(qsizetype count);
    // Says why the last pick did not open; the window stays for another pick.
    void showFailure(const QString& text);
    // The request is answered: the window closes without saying dropped().
    void finish();

signals:
    // `index` into the choices' browsers; `always` when the site is to be remembered for it.
    void picked(qsizetype index, bool always);
    // Escape, Cancel or the window manager closed it: the links open nowhere.
    void dropped();
    // Closed without the user's answer (the program quits): the links are still owed.
    void abandoned();
    // First drawn on screen.
    void drawn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The picker's own keys; false for any other.
    bool answerKey(const QKeyEvent& key);
    void pick(qsizetype index);
    void drop();
    // Breaks the link and its hosts to the window's width; the window never grows past the screen.
    void fitTexts();
    void fitScreen();

    QString link_;  // as shown: escapes for what would hide or reorder text
    QString hosts_; // where the browser goes, never shortened
    QLabel* linkLabel_;
    QLabel* moreLabel_;
    QLabel* hostLabel_;
    QScrollArea* texts_;
    QListWidget* list_;
    QCheckBox* always_;
    QLabel* failure_;
    QLabel* waiting_;
    std::optional<QString> site_;
    QString failureText_;
    QString waitingText_;
    bool manyHosts_ = false;
    bool fitting_ = false;
    bool answered_ = false;
    bool drawn_ = false;
};

} // namespace Tolvane
