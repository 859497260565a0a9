// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/LocalEventMonitor.h"
#include "GlobalKeys/Name.h"

#include <QLineEdit>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace GlobalKeys {

// A search-field-like control that records the shortcut of one name. A click, or Space or Return
// while it has the focus, starts recording: the next acceptable key combination is checked against
// the application's menus, the desktop's reserved shortcuts and the system's hot keys, then stored.
// The clear button (or Backspace while recording) removes the stored shortcut.
class RecorderField : public QLineEdit {
    Q_OBJECT
public:
    using OnChange = std::function<void(const std::optional<Shortcut>&)>;

    RecorderField(const Name& name, OnChange onChange = {}, QWidget* parent = nullptr);
    ~RecorderField() override;

    const Name& shortcutName() const { return shortcutName_; }
    // A different name refreshes the text and gives up focus on the next turn of the event loop.
    void setShortcutName(const Name& name);

    double minimumWidth() const { return minimumWidth_; }
    void setMinimumWidth(double width);

    bool isRecording() const { return eventMonitor_ != nullptr; }
    bool canBecomeKey() const { return canBecomeKey_; }
    QAction* cancelButton() const { return cancelButton_; }

    // Re-reads the stored shortcut into the text.
    void refreshText();

    // How refused keys are answered; a system beep unless replaced.
    void setBeeper(std::function<void()> beep) { beep_ = std::move(beep); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The first action in `menu` (searched depth first, submenus included) whose shortcut is `shortcut`.
    static QAction* menuItemWithMatchingShortcut(const QMenu* menu, const Shortcut& shortcut);
    // The same over every menu the application has: its menu bars and its top-level menus (the tray's).
    static QAction* applicationMenuItemWithMatchingShortcut(const Shortcut& shortcut);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    void startRecording();
    void endRecording();
    void stopRecording();
    void focusGuard();
    void giveUpFocus();
    void refocus();
    void clearPressed();
    void textDidChange();
    void updateCancelButton();
    QEvent* handleRecorderEvent(QEvent* event);
    // Alerts are window-modal on the field's window; recording resumes once they are answered.
    int runAlert(const QString& message, const QString& informative, const QStringList& buttons);
    void refuse(const QString& message, const QString& informative = {});
    // True when the user chose to take the shortcut anyway.
    bool confirmConflict(const QString& message, const QString& informative);

    Name shortcutName_;
    OnChange onChange_;
    double minimumWidth_ = 130;
    bool canBecomeKey_ = false;
    std::shared_ptr<LocalEventMonitor> eventMonitor_;
    std::uint64_t monitorGeneration_ = 0;
    QMetaObject::Connection shortcutsNameChangeObserver_;
    QAction* cancelButton_ = nullptr;
    std::function<void()> beep_;
    bool hotKeysWereEnabled_ = false;
    bool pendingRefocus_ = false;
};

} // namespace GlobalKeys
