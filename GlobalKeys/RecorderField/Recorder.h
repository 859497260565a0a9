// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/RecorderField/RecorderField.h"

#include <QWidget>

class QLabel;

namespace GlobalKeys {

// A horizontal alignment guide: where a recorder's control begins. Its default is a widget's
// leading edge; containers read it to line several recorders up.
struct ControlAlignment {
    static int defaultValue(const QWidget*) { return 0; }
};

// Hosts one RecorderField in a widget tree; keeps the field's name and callback in step with its own.
class _Recorder : public QWidget {
    Q_OBJECT
public:
    _Recorder(const Name& name, RecorderField::OnChange onChange = {}, QWidget* parent = nullptr);

    RecorderField* field() const { return field_; }
    // Updating the host passes the name on to the field (which refreshes when it differs).
    void setName(const Name& name) { field_->setShortcutName(name); }

private:
    RecorderField* field_;
};

// The recorder with an optional label before it, on one row aligned on the text baseline.
class Recorder : public QWidget {
    Q_OBJECT
public:
    Recorder(const Name& name, RecorderField::OnChange onChange = {}, QWidget* parent = nullptr);
    Recorder(const QString& label, const Name& name, RecorderField::OnChange onChange = {},
             QWidget* parent = nullptr);

    RecorderField* field() const { return recorder_->field(); }
    QLabel* label() const { return label_; }

    // The ControlAlignment guide: the x of the control's leading edge in this widget.
    int alignmentGuide(ControlAlignment) const;
    // Lines up the controls of several recorders by widening their labels to the widest.
    static void alignControls(const QList<Recorder*>& recorders);

protected:
    bool event(QEvent* event) override;

private:
    QLabel* label_ = nullptr;
    _Recorder* recorder_;
};

} // namespace GlobalKeys
