// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LinkRulesFile.h"
#include "LinkTargets.h"
#include "platform/LinkRouting.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace Tolvane {

class RuleDialog;

// The "Links" tab: whether links go by rules, the rules themselves (each change saved at once) and a
// field that tells where a link would open. Everything is read when the tab is shown, so a window
// that never shows it asks nothing of the routing service; while it is shown, the rules file is
// followed, since the picker, the command line and editors change it too.
class LinksTab : public QWidget {
    Q_OBJECT
public:
    explicit LinksTab(QWidget* parent = nullptr);

    QCheckBox* routingSwitch() const { return routing_; }
    QLabel* routingNote() const { return routingNote_; }
    QTreeWidget* ruleList() const { return list_; }
    QLabel* rulesNote() const { return rulesNote_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* editButton() const { return edit_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }
    QPushButton* removeButton() const { return remove_; }
    QLineEdit* linkField() const { return link_; }
    QLabel* linkVerdict() const { return verdict_; }

    // Reads the routing state, the browsers and the rules file again.
    void reload();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* makeRoutingSection();
    QWidget* makeRulesSection();
    QWidget* makeTestSection();

    void showRouting();
    void userToggledRouting(bool on);

    void showRules(int selectRow);
    void updateButtons();
    int currentRow() const;
    void openRuleDialog(int row); // -1 adds a rule
    // Applies `change` to the file as it is on disk and saves it; the list then selects `selectRow`.
    bool changeRules(const std::function<bool(LinkRulesFile&)>& change, int selectRow);
    // Watches the rules file and its folder (editors replace the file; the folder may come later).
    void followRulesFile();
    void rulesFileChanged();

    void showVerdict();
    QString verdictFor(const QString& link) const;

    QCheckBox* routing_ = nullptr;
    QLabel* routingNote_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLabel* rulesNote_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* remove_ = nullptr;
    QLineEdit* link_ = nullptr;
    QLabel* verdict_ = nullptr;

    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* settle_ = nullptr; // one reading for the several steps of a save
    QPointer<RuleDialog> dialog_;
    QString routingFailure_;
    LinkRulesFile file_;
    bool fileLoaded_ = false;
    LinkTargets targets_;
    QString chosen_; // the desktop file ID that opens links no rule takes (or all, with rules off)
    platform::LinkRouting::State routingState_ = platform::LinkRouting::State::off;
};

} // namespace Tolvane
