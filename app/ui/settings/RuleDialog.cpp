// SPDX-License-Identifier: GPL-3.0-or-later
#include "RuleDialog.h"

#include "FocusRing.h"
#include "LinkTargets.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tolvane {

RuleDialog::RuleDialog(const LinkTargets& targets, const LinkRule& rule, QWidget* parent)
    : QDialog(parent), pattern_(new QLineEdit(rule.pattern)), problem_(new QLabel), target_(new QComboBox) {
    setWindowTitle(rule.pattern.isEmpty() ? tr("Add Rule") : tr("Edit Rule"));

    pattern_->setPlaceholderText(tr("example.com or example.com/docs/*"));
    pattern_->setAccessibleName(tr("Pattern"));
    problem_->setWordWrap(true);
    problem_->setTextFormat(Qt::PlainText);
    auto* hint = new QLabel(tr("A site also covers its subdomains; a pattern with / or * is matched "
                               "against the host and path of the link."));
    hint->setWordWrap(true);
    hint->setForegroundRole(QPalette::PlaceholderText);

    targets.fill(target_, rule.target);
    target_->setAccessibleName(tr("Open in"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(tr("&Pattern"), pattern_);
    form->addRow(QString(), problem_);
    form->addRow(QString(), hint);
    // Not "&Open in": desktops give OK its own Alt+O.
    form->addRow(tr("Open &in"), target_);
    auto* column = new QVBoxLayout(this);
    // Grows and shrinks with the problem line, wrapped lines and all.
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->addLayout(form);
    column->addWidget(buttons);
    // A default button looks the same with and without the focus; the ring needs it placed in here.
    new FocusRing(ok_, this);

    connect(pattern_, &QLineEdit::textChanged, this, &RuleDialog::checkPattern);
    checkPattern();
    pattern_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
}

LinkRule RuleDialog::rule() const {
    return LinkRule{pattern_->text().trimmed(), target_->currentData().toString()};
}

void RuleDialog::checkPattern() {
    const QString pattern = pattern_->text().trimmed();
    const auto problem = linkPatternProblem(pattern);
    ok_->setEnabled(!problem);
    // Nothing typed yet is no mistake to point out.
    problem_->setText(problem && !pattern.isEmpty() ? *problem : QString());
    problem_->setVisible(!problem_->text().isEmpty());
    pattern_->setAccessibleDescription(problem_->text());
}

} // namespace Tolvane
