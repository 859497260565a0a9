// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LinkRules.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Tolvane {

class LinkTargets;

// Asks for one link rule: a pattern, checked as it is typed, and the browser it sends links to.
class RuleDialog : public QDialog {
    Q_OBJECT
public:
    // An empty `rule` pattern makes it the dialog that adds one.
    RuleDialog(const LinkTargets& targets, const LinkRule& rule, QWidget* parent = nullptr);

    LinkRule rule() const;

    QLineEdit* patternField() const { return pattern_; }
    QLabel* problemLabel() const { return problem_; }
    QComboBox* targetPicker() const { return target_; }
    QPushButton* okButton() const { return ok_; }

private:
    void checkPattern();

    QLineEdit* pattern_;
    QLabel* problem_;
    QComboBox* target_;
    QPushButton* ok_;
};

} // namespace Tolvane
